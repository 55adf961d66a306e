// The pieces of pushhost that decide whether a scenario passes: the subset
// match, argument checking, record building and the text that reaches a
// person. A fault here would make scenarios pass that should fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>
#include <fstream>
#include <sstream>
#include <string>

#include "json.h"
#include "pushbatch.h"
#include "recordjson.h"
#include "scenariorunner.h"
#include "stepargs.h"
#include "support/testenv.h"
#include "terminaltext.h"
#include "texttable.h"

namespace {

JsonPtr Parse(const std::string& text) {
  std::string error;
  JsonPtr value = ParseJson(text, &error);
  EXPECT_TRUE(value) << text << ": " << error;
  return value;
}

// Runs a scenario against the real modules; what it printed, or a failure.
std::string RunScenario(const std::string& name, const std::string& text, bool verbose, bool json) {
  HostModules modules(testenv::BinFolder());
  std::ostringstream out;
  std::ostringstream err;
  ScenarioRunner runner(modules, out, err);
  runner.SetVerbose(verbose);
  runner.SetJson(json);
  runner.SetPrepareProfile(true);
  std::istringstream scenario(text);
  EXPECT_EQ(ScenarioRunner::kPassed, runner.Run(name, scenario)) << err.str() << out.str() << text;
  return out.str() + err.str();
}

// A scenario of this folder.
std::string Scenario(const char* fileName) {
  std::ifstream file(std::string(PCW_SCENARIOS) + "/" + fileName);
  EXPECT_TRUE(file) << fileName;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(JsonMatches, ObjectsAreSubsetsAndArraysAreExact) {
  struct Case {
    const char* expected;
    const char* actual;
    const char* where;  // null: they match
  } cases[] = {
      {R"({"a":1})", R"({"a":1,"b":2})", nullptr},
      {R"({"n":[{"k":4}]})", R"({"n":[{"k":4,"v":1}]})", nullptr},
      {R"({"x":2})", R"({"x":2.0})", nullptr},
      {R"({"s":null})", R"({"s":null})", nullptr},
      {R"({"a":1,"c":3})", R"({"a":1,"b":2})", "c (missing)"},
      {R"({"g":[{"id":1},{"id":3}]})", R"({"g":[{"id":1},{"id":2}]})", "g[1].id"},
      {R"({"n":[]})", R"({"n":[{"k":4}]})", "n (length 1, expected 0)"},
      {R"({"r":1})", R"({"r":"1"})", "r"},
      {R"({"r":true})", R"({"r":1})", "r"},
      {R"({"r":4294967295})", R"({"r":-1})", "r"},
      {R"({"s":"ab"})", R"({"s":"abc"})", "s"},
      {R"({"s":null})", R"({"s":0})", "s"},
  };
  for (const Case& c : cases) {
    std::string where;
    EXPECT_EQ(c.where == nullptr, JsonMatches(Parse(c.expected).get(), Parse(c.actual).get(), &where))
        << c.expected << " against " << c.actual;
    if (c.where != nullptr) { EXPECT_EQ(c.where, where) << c.expected; }
  }
  // Incomplete JSON and trailing text are no JSON; trailing blanks are.
  std::string error;
  for (const char* text : {R"({"do":"init")", R"({"do":"init"} x)", R"({"do": })"}) {
    EXPECT_FALSE(ParseJson(text, &error)) << text;
  }
  EXPECT_TRUE(ParseJson("{\"do\":\"init\"}  \r\n", &error));
}

TEST(StepArgs, ChecksPresenceTypeRangeAndUnknownKeys) {
  JsonPtr step = Parse(
      R"({"u":4294967295,"neg":-1,"big":4294967296,"i":-2147483648,"b":true,"n":1,"s":"x","extra":0})");
  StepArgs args(step.get(), "export X");
  EXPECT_EQ(4294967295u, args.Uint("u"));
  EXPECT_EQ(INT32_MIN, args.Int("i"));
  EXPECT_TRUE(args.Bool("b"));
  EXPECT_EQ("x", args.String("s"));
  EXPECT_EQ(7u, args.Uint("absent", 7));
  EXPECT_THROW(args.Uint("neg"), InputError);
  EXPECT_THROW(args.Uint("big"), InputError);
  EXPECT_THROW(args.Int("u"), InputError);
  EXPECT_THROW(args.Bool("n"), InputError);
  EXPECT_THROW(args.String("n"), InputError);
  // Missing and unknown arguments: the scenarios in broken/ check their words.
  EXPECT_THROW(args.Uint("missing"), InputError);
  EXPECT_THROW(args.CheckAllUsed(), InputError);
}

TEST(PushBatch, RecordsCarryUtf16PayloadsWithinTheirRoom) {
  PushRecord record = PushBatch::MakeRecord(3, 7, 9, 1234, "{\"T\":\"\xC3\xA9\xF0\x9F\x98\x80\"}");
  EXPECT_EQ((std::vector<uint32_t>{7, 9, 1234, 3}),
            (std::vector<uint32_t>{record.appId, record.msgId, record.pushTime, record.kind}));
  const uint16_t expected[] = {'{', '"', 'T', '"', ':', '"', 0x00E9, 0xD83D, 0xDE00, '"', '}', 0};
  EXPECT_EQ(0, std::memcmp(expected, record.payload, sizeof(expected)));

  EXPECT_EQ(0, PushBatch::MakeRecord(1, 0, 0, 0, std::string(1024, 'a')).payload[1024]);
  EXPECT_THROW(PushBatch::MakeRecord(1, 0, 0, 0, std::string(1025, 'a')), InputError);

  JsonPtr kinds = Parse(R"(["dynamic","share","system","unread",200,256,"other"])");
  const int kindOf[] = {1, 2, 3, 4, 200, -1, -1};  // -1: refused
  for (size_t i = 0; i < 7; ++i) {
    json_object* kind = json_object_array_get_idx(kinds.get(), i);
    if (kindOf[i] < 0) {
      EXPECT_THROW(PushBatch::KindFromJson(kind, "k"), InputError) << i;
    } else {
      EXPECT_EQ(kindOf[i], int(PushBatch::KindFromJson(kind, "k"))) << i;
    }
  }
}

TEST(RecordJson, TextsStopAtTheirFieldWithoutATerminator) {
  char full[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ("abcd", FixedText(full, sizeof(full)));
  char cut[4] = {'a', 0, 'c', 'd'};
  EXPECT_EQ("a", FixedText(cut, sizeof(cut)));

  SystemMsgInfo msg;
  std::memset(&msg, 'x', sizeof(msg));
  msg.msgId = 5;
  std::string text = JsonText(SystemMsgsJson(&msg, 1).get());
  EXPECT_NE(std::string::npos, text.find("\"msgId\":5"));
  EXPECT_NE(std::string::npos, text.find("\"title\":\"" + std::string(240, 'x') + "\""));
}

TEST(TextTable, LinesUpByDisplayWidthAndFitsTheLine) {
  const std::string e = "\xC3\xA9";                   // one column
  const std::string han = "\xE4\xB8\xAD\xE6\x96\x87";  // two wide characters
  const std::string smile = "\xF0\x9F\x98\x80";         // one wide emoji
  const std::string accent = "e\xCC\x81";                // e and a combining mark
  TextTable table;
  table.AddColumn("k");
  table.AddColumn("text");
  table.AddRow({e, han + smile + "abcdefghij"});
  table.AddRow({accent, "ok\tx"});
  std::ostringstream whole;
  table.Print(whole, 0, 0);
  std::ostringstream fitted;
  table.Print(fitted, 0, 15);
#if defined(_WIN32)
  // No wcwidth: every character counts one column.
  EXPECT_EQ(4u, DisplayWidth(han + "ab"));
#else
  EXPECT_EQ(6u, DisplayWidth(han + "ab"));
  EXPECT_EQ(2u, DisplayWidth(smile));
  EXPECT_EQ(1u, DisplayWidth(accent));
  EXPECT_EQ("k  text\n-  ----------------\n" + e + "  " + han + smile + "abcdefghij\n" + accent +
                "  ok\\tx\n",
            whole.str());
  // 15 columns: "k" and two blanks leave 12; a wide character is never split.
  EXPECT_EQ("k  text\n-  ------------\n" + e + "  " + han + smile + "abc...\n" + accent +
                "  ok\\tx\n",
            fitted.str());
#endif
  EXPECT_EQ("2026-01-05 09:00", FormatTime(1767603600));
  EXPECT_EQ("-", FormatTime(0));
  // Push times past 2038 stay dates on 32-bit builds too.
  EXPECT_EQ("2038-01-19 03:14", FormatTime(0x80000000u));
  EXPECT_EQ("2106-02-07 06:28", FormatTime(0xFFFFFFFFu));
}

TEST(TerminalText, EscapesWhatATerminalWouldObey) {
  struct Case {
    const char* text;
    const char* plain;
    const char* json;
  } cases[] = {
      {"a\x1B[31mb", "a\\x1B[31mb", "a\\u001B[31mb"},
      {"t\tn\nr\rbell\x07", "t\\tn\\nr\\rbell\\x07", "t\\u0009n\nr\\u000Dbell\\u0007"},
      {"del\x7F csi\xC2\x9B rlo\xE2\x80\xAE lri\xE2\x81\xA6",
       "del\\x7F csi\\x9B rlo\\u202E lri\\u2066", "del\\u007F csi\\u009B rlo\\u202E lri\\u2066"},
      {"bad\xFF cut\xE2\x80 long\xC0\xAF", "bad\\xFF cut\\xE2\\x80 long\\xC0\\xAF",
       "bad\\uFFFD cut\\uFFFD\\uFFFD long\\uFFFD\\uFFFD"},
      {"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 kept", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 kept",
       "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 kept"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.plain, TerminalText::Plain(c.text)) << c.text;
    EXPECT_EQ(c.json, TerminalText::InJson(c.text)) << c.text;
  }
}

TEST(TerminalText, NoPushedTextReachesTheOutputRaw) {
  const std::string text = RunScenario("hostile", Scenario("hostile.jsonl"), true, false);
  EXPECT_NE(std::string::npos, text.find("\\x1B[31m")) << "the table shows the text escaped";
  EXPECT_NE(std::string::npos, text.find("systemmsgtable: 1 row"));
  for (const char* raw : {"\x1B", "\x07", "\r", "\t", "\x7F", "\xC2\x9B", "\xE2\x80\xAE"}) {
    EXPECT_EQ(std::string::npos, text.find(raw)) << "raw " << TerminalText::Plain(raw) << " in\n"
                                                 << TerminalText::Plain(text);
  }
}

TEST(JsonOutput, ShowAndInspectPrintOneDocumentEachWithStableKeys) {
  const std::string out = RunScenario("jsonoutput", Scenario("jsonoutput.jsonl"), false, true);
  std::vector<JsonPtr> documents;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line[0] == '{') documents.push_back(Parse(line));
  }
  ASSERT_EQ(2u, documents.size()) << out;
  std::string where;
  EXPECT_TRUE(JsonMatches(Parse(R"({
      "dynamic":[{"appId":7,"application":"Weather","msgId":1,"time":1767603600,"title":"Rain",
                  "text":"Umbrella","read":false}],
      "share":[],
      "system":[{"appId":0,"application":null,"msgId":3,"time":1767603800,"title":"Hi","read":true}],
      "myshare":[]})").get(), documents[0].get(), &where)) << where << ": " << out;
  EXPECT_TRUE(JsonMatches(Parse(R"({"user":1001,"databases":[
      {"file":"dynmsg.db","problem":null,"tables":[{"name":"dynmsgtable","rows":[]}]},
      {"file":"sysmsg.db","problem":null,"tables":[{"name":"systemmsgtable",
        "rows":[{"msgId":3,"pushTime":1767603800,"title":"Hi","text":"Hello","subType":1}]}]},
      {"file":"sharemsg.db"}]})").get(), documents[1].get(), &where)) << where << ": " << out;
}

// The README's scenario examples: those of the host step table, in the
// table's order, and the scenario in its jsonl block. A newcomer pastes them
// as they stand, so each group must run clean as one scenario.
std::string ReadmeExamples(bool table) {
  std::ifstream readme(PCW_README);
  EXPECT_TRUE(readme) << PCW_README;
  std::string examples;
  std::string line;
  bool inBlock = false;
  while (std::getline(readme, line)) {
    if (line.rfind("```", 0) == 0) {
      inBlock = !inBlock && line == "```jsonl";
    } else if (inBlock && !table) {
      examples += line + "\n";
    } else if (table && line.rfind("| ", 0) == 0) {
      // The example column, the second; each example is one `...` span.
      size_t start = line.find(" | ") + 3;
      size_t end = line.find(" | ", start);
      for (size_t at = line.find("`{\"do\"", start); at < end; at = line.find("`{\"do\"", at)) {
        size_t close = line.find('`', at + 1);
        examples += line.substr(at + 1, close - at - 1) + "\n";
        at = close + 1;
      }
    }
  }
  return examples;
}

void RunReadmeExamples(bool table, size_t atLeast) {
  std::string examples = ReadmeExamples(table);
  EXPECT_GE(static_cast<size_t>(std::count(examples.begin(), examples.end(), '\n')), atLeast)
      << examples;
  RunScenario("README.md", examples, false, false);
}

TEST(Readme, TheHostStepTableExamplesRunInTheTablesOrder) { RunReadmeExamples(true, 15); }

TEST(Readme, TheScenarioExampleRunsAndMeetsItsExpectations) { RunReadmeExamples(false, 10); }

}  // namespace
