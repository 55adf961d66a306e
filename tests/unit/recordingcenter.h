// A center for the intake's tests: it records, in one log shared by all kinds,
// the slot calls that the intake makes, and keeps what it is handed.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "centers/msgcenter.h"
#include "messages/dynamicmsg.h"
#include "messages/dynamicmsggroup.h"
#include "messages/sharemsg.h"
#include "messages/sharemsggroup.h"
#include "messages/systemmsg.h"
#include "pushwrapper.h"

class RecordingCenter : public MsgCenter {
 public:
  RecordingCenter(int32_t kind, std::vector<std::string>* log) : MsgCenter(kind), log_(log) {}
  ~RecordingCenter() override { log_->push_back("destroy " + std::to_string(centerKind_)); }

  void AddDynamicMsg(DynamicMsgGroup* group) override {
    log_->push_back("dynamic app " + std::to_string(group->GetAppId()) + " server " +
                    std::to_string(group->GetMsgCountOnServer()) + " msgs" + Ids(group->GetMsgs()));
    dynamicGroups_.emplace_back(group);
  }
  void AddShareMsg(ShareMsgGroup* group) override {
    log_->push_back("share type " + std::to_string(group->GetShareType()) + " app " +
                    std::to_string(group->GetAppId()) + " msgs" + Ids(group->GetMsgs()));
    shareGroups_.emplace_back(group);
  }
  void AddSystemMsgs(std::deque<SystemMsg*>* msgs) override {
    log_->push_back("system msgs" + Ids(*msgs));
    for (SystemMsg* msg : *msgs) systemMsgs_.emplace_back(msg);
  }
  bool ResetUnreadDynamicMsgCount(uint32_t appId, uint32_t count, uint32_t originator) override {
    log_->push_back("reset app " + std::to_string(appId) + " count " + std::to_string(count) +
                   " origin " + std::to_string(originator));
    return true;
  }

 private:
  template <class Msgs>
  static std::string Ids(const Msgs& msgs) {
    std::string ids;
    for (auto* msg : msgs) ids += " " + std::to_string(msg->GetMsgId());
    return ids;
  }
  std::vector<std::string>* log_;
  std::vector<std::unique_ptr<DynamicMsgGroup>> dynamicGroups_;
  std::vector<std::unique_ptr<ShareMsgGroup>> shareGroups_;
  std::vector<std::unique_ptr<SystemMsg>> systemMsgs_;
};

// Installs recording centers for kinds 1 to 5 into the module-wide PushWrapper
// for the life of the object, and starts it up; the destructor shuts it down
// and restores the real centers.
class RecordingCenters {
 public:
  RecordingCenters() {
    PushWrapper* wrapper = PushWrapper::Instance();
    wrapper->UnInit();
    for (int32_t kind = 1; kind <= 5; ++kind) {
      wrapper->SetCenterFactoryForTesting(kind, [this, kind]() -> MsgCenter* {
        ++created;
        return new RecordingCenter(kind, &log);
      });
    }
    wrapper->Init();
  }
  ~RecordingCenters() {
    PushWrapper* wrapper = PushWrapper::Instance();
    wrapper->UnInit();
    for (int32_t kind = 1; kind <= 5; ++kind) wrapper->SetCenterFactoryForTesting(kind, nullptr);
  }
  std::vector<std::string> log;
  int created = 0;
};
