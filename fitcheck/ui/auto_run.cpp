#include "fitcheck/ui/auto_run.h"

#include <cctype>
#include <cstdlib>

#include "common/exchange_contract.h"
#include "common/text.h"
#include "fitcheck/core/result_store.h"

namespace kx {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A JSON string of UTF-8 text.
std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          out += Format("\\u%04x", byte);
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace

FitcheckCommand ParseFitcheckCommand(const std::vector<std::string>& arguments) {
  FitcheckCommand command;
  bool automatic = false, usage = false, bad = false, report = false;
  for (const std::string& argument : arguments) {
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
      bad = true;
      continue;
    }
    const std::string option = Lower(argument.substr(1));
    if (option == "auto") {
      automatic = true;
    } else if (option == "?") {
      usage = true;
    } else if (option.rfind("report:", 0) == 0 && argument.size() > 8 && !report) {
      report = true;
      command.report_path = argument.substr(8);  // the path as given, case kept
    } else {
      bad = true;
    }
  }
  command.automatic = automatic;
  if (bad || (report && !automatic)) {
    command.mode = FitcheckCommand::Mode::kBad;
  } else if (usage) {
    command.mode = FitcheckCommand::Mode::kUsage;
  } else if (automatic) {
    command.mode = FitcheckCommand::Mode::kAuto;
  }
  if (command.mode != FitcheckCommand::Mode::kAuto) command.report_path.clear();
  return command;
}

AutoRun::AutoRun(AutoPlatform& platform, ProfileStore& profiles)
    : platform_(platform), profiles_(profiles) {}

AutoStep AutoRun::Step(const Wizard& wizard) {
  if (finished_) return AutoStep::kNone;
  switch (wizard.Page()) {
    case 0:
    case 2:  // a memory warning passed as Next passes it
    case 3:  // a screen warning likewise
    case 4:
      return AutoStep::kNext;
    case 7:
      // Next starts nothing while the last test's viewer may still run; its
      // end is followed by another step.
      return wizard.TestUnderWay() || wizard.ViewerMayRun() ? AutoStep::kNone : AutoStep::kNext;
    case 1:
    case 5:
    case 8:
    case 9:
      finished_ = true;
      return AutoStep::kFinish;
    default:
      return AutoStep::kNone;
  }
}

int AutoRun::ExitCode(int final_page) const {
  switch (final_page) {
    case 9:
      return stored_ && !store_failed_ ? kAutoExitStored : kAutoExitCouldNotRun;
    case 8:
      return kAutoExitNonePassed;
    case 1:
    case 5:
      return kAutoExitUnsuitable;
    default:
      return kAutoExitCouldNotRun;  // test files missing, or the run was ended
  }
}

void AutoRun::TestStarting(const KxGLOption& option, const std::string& result_file) {
  Test test;
  test.option = option;
  test.result_file = result_file;
  test.started_ms = platform_.NowMs();
  tests_.push_back(test);
  // The viewer writes these only when it measures; an earlier viewer's
  // values must not be taken for this one's.
  (void)profiles_.WriteString(result_file, exchange::kSection, exchange::kLikeness, "");
  (void)profiles_.WriteString(result_file, exchange::kSection, exchange::kLikenessVerdict, "");
}

void AutoRun::LikenessArrived(int verdict) {
  if (tests_.empty() || tests_.back().verdict) return;
  Test& test = tests_.back();
  test.verdict = verdict;
  test.ms_to_verdict = platform_.NowMs() - test.started_ms;
}

void AutoRun::TestDecided() {
  if (tests_.empty()) return;
  Test& test = tests_.back();
  const std::string code =
      profiles_.ReadString(test.result_file, exchange::kSection, exchange::kResultCode, "", 64);
  if (!code.empty()) test.result_code = std::atoi(code.c_str());
  const std::string likeness =
      profiles_.ReadString(test.result_file, exchange::kSection, exchange::kLikeness, "", 64);
  if (!likeness.empty()) test.likeness = std::strtod(likeness.c_str(), nullptr);
}

void AutoRun::SettingsStored(const KxGLOption& option, bool stored) {
  stored_ = option;
  store_failed_ = !stored;
}

void AutoRun::StartVerdictBound() { platform_.StartBoundTimer(kAutoVerdictBoundMs); }

void AutoRun::StopVerdictBound() { platform_.StopBoundTimer(); }

std::string AutoRun::ReportWithoutRun(const AutoReportContext& context, const std::string& reason,
                                      int exit_code) {
  return "{\n  \"schema_version\": 1,\n  \"fitcheck_version\": " +
         Quoted(context.fitcheck_version) + ",\n  \"utc_time\": " + Quoted(context.utc_time) +
         ",\n  \"machine\": null,\n  \"tests\": [],\n  \"outcome\": null,\n  \"not_run\": " +
         Quoted(reason) + Format(",\n  \"exit_code\": %d\n}\n", exit_code);
}

std::string AutoRun::Report(const AutoReportContext& context, CKxEnv& env, int final_page,
                            int exit_code) const {
  const auto text = [&](const std::string& ansi) { return Quoted(context.to_utf8(ansi)); };
  const auto or_null = [](bool known, const std::string& value) {
    return known ? value : std::string("null");
  };
  std::string json = "{\n";
  json += "  \"schema_version\": 1,\n";
  json += "  \"fitcheck_version\": " + Quoted(context.fitcheck_version) + ",\n";
  json += "  \"utc_time\": " + Quoted(context.utc_time) + ",\n";
  json += "  \"machine\": {\n";
  json += "    \"operating_system\": " + text(env.GetOsName()) + ",\n";
  json += "    \"memory\": " + text(env.GetMemoryText()) + ",\n";
  json += "    \"screen\": " + text(env.GetScreenText()) + ",\n";
  json += "    \"chip\": " + text(env.ChipType()) + ",\n";
  json += "    \"video_memory_mb\": " + Format("%g", env.VideoMemory()) + ",\n";
  json +=
      Format("    \"anti_alias_acceptable\": %d,\n", static_cast<int>(env.AntiAliasAcceptable()));
  json +=
      Format("    \"shadow_map_acceptable\": %d,\n", static_cast<int>(env.ShadowMapAcceptable()));
  json += Format("    \"phong_shading_acceptable\": %d\n",
                 static_cast<int>(env.PhongShadingAcceptable()));
  json += "  },\n";
  json += "  \"tests\": [";
  for (std::size_t i = 0; i < tests_.size(); ++i) {
    const Test& t = tests_[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\"configuration\": " + text(DescribeForTest(t.option, env.NewGeneration()));
    json +=
        ", \"result_code\": " + or_null(t.result_code.has_value(),
                                        Format("%d", static_cast<int>(t.result_code.value_or(0))));
    json +=
        ", \"likeness\": " + or_null(t.likeness.has_value(), Format("%g", t.likeness.value_or(0)));
    json += ", \"likeness_verdict\": " +
            or_null(t.verdict.has_value(), Format("%d", t.verdict.value_or(0)));
    json += ", \"ms_to_verdict\": " +
            or_null(t.ms_to_verdict.has_value(),
                    Format("%u", static_cast<unsigned>(t.ms_to_verdict.value_or(0))));
    json += "}";
  }
  json += tests_.empty() ? "],\n" : "\n  ],\n";
  json += "  \"outcome\": {\n";
  json += Format("    \"final_page\": %d,\n", final_page);
  json += Format("    \"env_check_result\": %d,\n",
                 static_cast<int>(Wizard::EnvCheckResultFor(final_page)));
  json += "    \"stored\": ";
  if (stored_ && !store_failed_) {
    json += "{";
    bool first = true;
    for (const GraphicSettingValue& v : GraphicSettingValues(*stored_, env)) {
      json += first ? "\n" : ",\n";
      first = false;
      json += "      " + Quoted(v.name) + ": " +
              (v.is_string ? text(v.text) : Format("%d", static_cast<int>(v.dword)));
    }
    json += "\n    }\n";
  } else {
    json += "null\n";
  }
  json += "  },\n";
  json += Format("  \"exit_code\": %d\n", exit_code);
  json += "}\n";
  return json;
}

}  // namespace kx
