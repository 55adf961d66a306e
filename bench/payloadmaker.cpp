#include "payloadmaker.h"

#include <cstring>

#include "hostkit/pushrecords.h"
#include "hostkit/widetext.h"

namespace {

const char* const kWords[] = {
    "update",  "ready",      "your",   "photos", "were",   "shared", "café",   "naïve",
    "новое",   "сообщение",  "для",    "вас",    "通知",    "下载完成", "请查看",   "😀",
    "weekend", "discount",   "album",  "Zürich", "invite", "🎉",      "friends", "today",
};
const size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

// Smallest and largest payload, in UTF-16 code units (300 and 1,500 bytes);
// targets stay a word short of the top so that no payload passes it.
const size_t kMinUnits = 150;
const size_t kMaxUnits = 750;
const size_t kMaxTarget = kMaxUnits - 12;

size_t Units(const std::string& utf8) { return hostkit::ToWide(utf8).size(); }

// Words from the list, starting at a place that depends on n, until the text
// has at least `units` UTF-16 code units.
std::string Filler(uint32_t n, size_t units) {
  std::string text;
  size_t have = 0;
  for (size_t i = n % kWordCount; have < units; ++i) {
    const char* word = kWords[i % kWordCount];
    if (!text.empty()) {
      text += ' ';
      ++have;
    }
    text += word;
    have += Units(word);
  }
  return text;
}

std::string Number(uint32_t value) { return std::to_string(value); }

// The payload with its free text left as "%s", ready to be filled.
std::string Frame(PayloadMaker::Kind kind, uint32_t appId, uint32_t n) {
  const std::string id = Number(n);
  const std::string app = Number(appId);
  switch (kind) {
    case PayloadMaker::kDynamic:
      return "{\"OPTYPE\":1,\"NUM\":" + Number(1 + n % 9) + ",\"TITLE\":\"" + Filler(n + 3, 24) +
             "\",\"TEXT\":\"%s\",\"BOTTON\":\"Open\",\"VOICE\":" + Number(n % 3) +
             ",\"APPCUSTOMIZE\":\"act=open&id=" + id + "&from=push_center\"}";
    case PayloadMaker::kShare:
      return "{\"OPTYPE\":1,\"FUIN\":" + Number(100000 + n % 1000) + ",\"MSG\":\"%s\",\"DSTAPPID\":\"" +
             app + "\",\"SHARETYPE\":1,\"APPCUSTOMIZE\":\"album=" + id +
             "&v=2.1\",\"PICURL\":\"https://img.example.invalid/share/" + id +
             ".jpg\",\"TITLE\":\"" + Filler(n + 5, 20) +
             "\",\"APPDESC\":\"Photo albums: keep and share your moments\"}";
    case PayloadMaker::kSystem:
      return "{\"OPTYPE\":2,\"TITLE\":\"" + Filler(n + 7, 28) +
             "\",\"TEXT\":\"%s\",\"PICURL\":\"https://img.example.invalid/notice/" + id +
             ".png\",\"JUMPURL\":\"https://www.example.invalid/notice?id=" + id +
             "\",\"BOTTON\":\"Details\",\"DSTAPPID\":\"" + app + "\",\"APPCUSTOMIZE\":\"k=v&id=" +
             id + "\",\"SUBTYPE\":2,\"BTNTYPE\":1}";
  }
  return "{}";
}

}  // namespace

std::string PayloadMaker::Json(Kind kind, uint32_t appId, uint32_t n) {
  std::string frame = Frame(kind, appId, n);
  const size_t at = frame.find("%s");
  frame.erase(at, 2);
  const size_t target = kMinUnits + (n * 97) % (kMaxTarget - kMinUnits + 1);
  const size_t used = Units(frame);
  const size_t wanted = target > used ? target - used : 1;
  std::string text = Filler(n, wanted);
  // Words are dropped at spaces only, so no character is ever split, and only
  // while the payload stays at least kMinUnits long.
  const size_t frameUnits = Units(frame);
  while (frameUnits + Units(text) > target) {
    const size_t space = text.rfind(' ');
    if (space == std::string::npos || frameUnits + Units(text.substr(0, space)) < kMinUnits) break;
    text.erase(space);
  }
  frame.insert(at, text);
  return frame;
}

PushRecord PayloadMaker::Record(Kind kind, uint32_t appId, uint32_t n) {
  return hostkit::MakeRecord(kind, appId, 0, 0, Json(kind, appId, n));
}

std::vector<PushRecord> PayloadMaker::Batch(Kind kind, uint32_t firstApp, uint32_t apps,
                                            uint32_t count, uint32_t firstN) {
  std::vector<PushRecord> batch;
  batch.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    batch.push_back(Record(kind, firstApp + i % apps, firstN + i));
  }
  return batch;
}

size_t PayloadMaker::PayloadBytes(const PushRecord& record) {
  size_t units = 0;
  while (units < kPushPayloadUnits && record.payload[units] != 0) ++units;
  return units * 2;
}
