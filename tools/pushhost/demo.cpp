#include "demo.h"

#include <sstream>
#include <string>

#include "scenariorunner.h"

namespace {

// Push times are seconds since 1970 (UTC): 2026-01-05 from 09:00 on.
const char kTour[] = R"tour(
{"do":"say","text":"pushhost plays the desktop client. It loads pushcenterwrapper.dll and the host product's modules from its bin folder and drives them as a host does. Each step says what it does; lines in [brackets] are the host's command callback reporting a change as it happens."}

{"do":"say","text":"1. User 20001 signs in. The library keeps this user's messages in three databases under <documents>/Corvane Files/Halyx/20001/."}
{"do":"signIn","user":20001,"expect":{"user":20001}}

{"do":"say","text":"2. The user's roaming settings decide what the library accepts: system messages wanted (boolean 9), share messages wanted (boolean 10), dynamic messages from every application (number 11 = 1)."}
{"do":"setRoamBoolean","id":9,"value":true}
{"do":"setRoamBoolean","id":10,"value":true}
{"do":"setRoamNumber","id":11,"value":1}
{"do":"setAppRoamBoolean","appId":102,"id":6,"value":false}

{"do":"say","text":"3. Two applications are installed and want pushes (\"needPush\" = 1): 101 Weather and 102 Chess. 103 Recipes is not installed yet."}
{"do":"uninstallApp","appId":103}
{"do":"installApp","appId":101,"name":"Weather","needPush":"1"}
{"do":"installApp","appId":102,"name":"Chess","needPush":"1"}

{"do":"say","text":"4. The host starts the library (PushWrapperInit), which registers with the push center, and registers one command callback for every kind (mask 31) and every event (mask 7)."}
{"do":"init","expect":{"result":true}}
{"do":"register","callback":"host","kindMask":31,"eventMask":7,"expect":{"result":true}}

{"do":"say","text":"5. The push center delivers a batch of dynamic messages: two from Weather, one from Chess and two from Recipes. Recipes is not installed, so the library parks its two until it is."}
{"do":"push","records":[
 {"kind":"dynamic","appId":101,"msgId":1001,"pushTime":1767603600,"payload":{"TITLE":"Rain at noon","TEXT":"Take an umbrella: 8 mm expected from 12:00.","NUM":2}},
 {"kind":"dynamic","appId":101,"msgId":1002,"pushTime":1767607200,"payload":{"TITLE":"Storm warning","TEXT":"Gusts up to 90 km/h this evening.","NUM":2}},
 {"kind":"dynamic","appId":102,"msgId":2001,"pushTime":1767605400,"payload":{"TITLE":"Your move","TEXT":"Anna played Nf3 in your correspondence game.","NUM":1,"BOTTON":"Play"}},
 {"kind":"dynamic","appId":103,"msgId":3001,"pushTime":1767609000,"payload":{"TITLE":"Soup of the day","TEXT":"Leek and potato, ready in 30 minutes.","NUM":2}},
 {"kind":"dynamic","appId":103,"msgId":3002,"pushTime":1767609600,"payload":{"TITLE":"Weekend baking","TEXT":"A simple rye bread.","NUM":2}}],
 "expect":{"callbacksCalled":1}}
{"do":"show","kind":"dynamic"}

{"do":"say","text":"6. Recipes gets installed. The install notification makes the library replay the parked pushes, which are accepted now."}
{"do":"installApp","appId":103,"name":"Recipes","needPush":"1"}
{"call":"PushGetDynamicMsgForApp","appId":103,"maxMsgs":0,"onlyUnread":false,"expect":{"result":2}}
{"do":"show","kind":"dynamic"}

{"do":"say","text":"7. Shares and system notices arrive in one batch. User 30001 shares a Chess game (share type 1: one group per application); user 30002 shares a Weather map (share type 2: one group per push)."}
{"do":"push","records":[
 {"kind":"share","appId":102,"msgId":4001,"pushTime":1767610800,"payload":{"DSTAPPID":"102","SHARETYPE":1,"FUIN":30001,"MSG":"Look at this endgame!","TITLE":"Rook endgame","APPDESC":"Chess"}},
 {"kind":"share","appId":101,"msgId":4002,"pushTime":1767611400,"payload":{"DSTAPPID":"101","SHARETYPE":2,"FUIN":30002,"MSG":"Snow on the way to you","TITLE":"Radar map","APPDESC":"Weather"}},
 {"kind":"system","appId":0,"msgId":9001,"pushTime":1767612000,"payload":{"TITLE":"Welcome","TEXT":"Messages from your applications appear here."}},
 {"kind":"system","appId":0,"msgId":9002,"pushTime":1767612600,"payload":{"TITLE":"Maintenance tonight","TEXT":"The service pauses from 02:00 to 02:30.","DSTAPPID":"0"}}],
 "expect":{"callbacksCalled":1}}

{"do":"say","text":"8. The user shares a game themselves; the host records it with AddMyShareMsg. Own shares are stored at once."}
{"call":"AddMyShareMsg","appId":102,"shareType":1,"msgs":[{"shareTime":1767613200,"uin":20001,"title":"My best game","text":"Mate in 12 moves","appDesc":"Chess"}],"echo":true,"expect":{"result":true}}

{"do":"say","text":"9. What the host shows now, and its unread counters. The dynamic counter adds up the server's per-application counts (\"NUM\"); the share counter counts groups with unread messages; the system counter counts new notices."}
{"do":"show","kind":"all"}
{"call":"PushGetAllUnreadDynamicMsgCount","echo":true}
{"call":"PushGetAllUnreadShareMsgNum","echo":true}
{"call":"PushGetNewSystemMsgNum","echo":true}
{"call":"PushGetAllUnreadMsgCount","echo":true}

{"do":"say","text":"10. The user reads Weather's messages, the Chess share and the welcome notice. Reading stores the message in its database and reports it to the push center."}
{"call":"PushUpdateDynamicMsgReadState","appId":101,"reportRead":true,"echo":true,"expect":{"result":2}}
{"call":"PushUpdateShareMsgReadState","appId":102,"shareType":1,"latestPushTime":0,"echo":true,"expect":{"result":1}}
{"call":"PushUpdateSystemMsgReadState","msgId":9001,"readState":1,"echo":true,"expect":{"result":1}}
{"do":"show","kind":"all"}

{"do":"say","text":"11. The user shields Chess. Its messages already held stay, but new ones are refused (application setting 6 set, receive mode 11 = 2)."}
{"call":"PushShieldDynamicMsgForApp","appId":102,"echo":true,"expect":{"result":true}}
{"call":"PushIsShieldDynamicMsg","appId":102,"echo":true,"expect":{"result":true}}
{"do":"push","records":[{"kind":"dynamic","appId":102,"msgId":2002,"pushTime":1767614400,"payload":{"TITLE":"Your move","TEXT":"Anna played Bb5.","NUM":2}}],"expect":{"notifications":[]}}
{"call":"PushGetDynamicMsgForApp","appId":102,"maxMsgs":0,"onlyUnread":false,"expect":{"result":1}}

{"do":"say","text":"12. The host reloads the library: shut down, unload, load again, start. What was read was stored and comes back, marked read; unread messages lived in memory only and are gone. The user's own shares were all stored."}
{"do":"reload","expect":{"result":true}}
{"do":"register","callback":"host","kindMask":31,"eventMask":7,"expect":{"result":true}}
{"do":"show","kind":"all"}

{"do":"say","text":"13. The databases themselves, read table by table through localdatabase.dll:"}
{"do":"inspect"}

{"do":"say","text":"That is the library: pushes in, lists out, read state stored, every change reported to the host's callbacks."}
)tour";

}  // namespace

int Demo::Run(HostModules& modules, std::ostream& out, std::ostream& err) {
  ScenarioRunner runner(modules, out, err);
  runner.SetNarrate(true);
  runner.SetQuiet(true);
  runner.SetPrepareProfile(true);
  // The tour keeps long steps readable by continuing them on lines that start
  // with a blank; the runner wants one step per line.
  std::istringstream source(kTour);
  std::string joined;
  std::string line;
  while (std::getline(source, line)) {
    if (!line.empty() && line[0] == ' ') {
      joined += line.substr(1);
    } else {
      if (!joined.empty()) joined += '\n';
      joined += line;
    }
  }
  std::istringstream tour(joined);
  return runner.Run("demo", tour);
}
