// The zodiac-chart commands, parsed with CLI11. A new command adds its options struct, a
// function that runs it from those options, and a few lines in Run_Cli; the shared steps
// (instant, sign, the guarded computation) and the outputs are in service/.
#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>

#include "server/serve.h"
#include "service/json_output.h"
#include "service/printable.h"
#include "service/render_command.h"
#include "service/sky.h"
#include "service/text_output.h"

namespace {
constexpr const char* kVersion = "zodiac-chart 0.1.0";

constexpr const char* kUsage =
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart analysis --sign SIGN [--at INSTANT] [--json]\n"
    "       zodiac-chart render [--at INSTANT] [-o FILE] [--analysis SIGN] [--png [--scale N]]\n"
    "       zodiac-chart render --card SIGN [--at INSTANT] [-o FILE]\n"
    "       zodiac-chart render --html [--at INSTANT] [--base URL] [-o FILE]\n"
    "       zodiac-chart serve [--host HOST] [--port PORT] [--bundle DIR]\n"
    "       zodiac-chart --help | --version\n";

constexpr const char* kHint = "Try 'zodiac-chart --help'.\n";

constexpr const char* kHelp =
    "zodiac-chart: where the Sun, the Moon and the planets stand, by low-precision\n"
    "analytic theories, as geocentric ecliptic longitudes of date, and the daily\n"
    "analysis for a sign.\n"
    "\n"
    "usage: zodiac-chart positions [--at INSTANT] [--json]\n"
    "       zodiac-chart analysis --sign SIGN [--at INSTANT] [--json]\n"
    "       zodiac-chart render [--at INSTANT] [-o FILE] [--analysis SIGN] [--png [--scale N]]\n"
    "       zodiac-chart render --card SIGN [--at INSTANT] [-o FILE]\n"
    "       zodiac-chart render --html [--at INSTANT] [--base URL] [-o FILE]\n"
    "       zodiac-chart serve [--host HOST] [--port PORT] [--bundle DIR]\n"
    "       zodiac-chart --help | --version\n"
    "\n"
    "commands:\n"
    "  positions      the ten bodies' longitudes, signs, retrograde marks and tooltips\n"
    "  analysis       the daily analysis for one sign: a sentence each for the Sun, the\n"
    "                 Moon, Mercury, Venus and Mars\n"
    "  render         the chart as the control shows it, as one SVG document (513 x 459\n"
    "                 pixels; the date label in this machine's time zone and locale), or\n"
    "                 as a PNG picture, or a social card; with --html, the <zodiac-chart>\n"
    "                 element with that chart in its HTML (Declarative Shadow DOM, the\n"
    "                 date in UTC), its stylesheet and pictures under --base URL\n"
    "  serve          the demo page with the <zodiac-chart> element, the web bundle, and\n"
    "                 /chart.svg?at=, /chart.html?at=, /api/positions?at=,\n"
    "                 /api/analysis?sign=&at= (the render outputs and the --json\n"
    "                 outputs); the demo page arrives with its charts rendered; prints\n"
    "                 the address it listens on\n"
    "\n"
    "options:\n"
    "  --at INSTANT   YYYY-MM-DDTHH:MM[:SS] with an optional zone Z, +HH:MM or -HH:MM;\n"
    "                 without a zone, the machine's local time; 'now' (the default) for\n"
    "                 the present instant. Years 0001 to 9999; dates before 1582-10-15\n"
    "                 are in the Julian calendar. Seconds are dropped.\n"
    "  --sign SIGN    0 (Aries) to 11 (Pisces), an English sign name (aries ... pisces,\n"
    "                 any case) or the Arabic caption of the sign label (\"برج الحمل\" ...)\n"
    "  --json         one JSON object instead of text\n"
    "  -o FILE        write the SVG or PNG to FILE instead of standard output\n"
    "  --analysis SIGN\n"
    "                 also draw the analysis window for SIGN, as it opens\n"
    "  --png          a PNG picture instead of SVG\n"
    "  --scale N      the PNG's scale, 1 (513 x 459 pixels) to 4 (default 1)\n"
    "  --card SIGN    the social card for SIGN as PNG: 1200 x 630 pixels, the chart beside\n"
    "                 the sign's daily analysis\n"
    "  --host HOST    the address to listen on (default 127.0.0.1, this machine only)\n"
    "  --port PORT    the port (default 8080; 0 takes a free one)\n"
    "  --bundle DIR   the web bundle to serve (default: the one scripts/build-web made)\n"
    "\n"
    "exit status: 0 done, 1 date in the 1582 calendar gap, 2 bad usage (or an output file or\n"
    "address that cannot be used), 3 computation fault\n";

// Writes the one-line error (echoed input made printable, see Printable_Line), the usage and
// the hint.
int Usage_Error(std::ostream& err, std::string_view what) {
  err << "zodiac-chart: " << Printable_Line(what) << "\n" << kUsage << kHint;
  return kExitUsage;
}

// Writes what an outcome other than Ok has to say; returns its exit status.
int Report(const Outcome& outcome, std::ostream& err) {
  switch (outcome.status) {
    case Service_Status::Ok:
      return kExitOk;
    case Service_Status::Bad_Input:
      return Usage_Error(err, outcome.message);
    case Service_Status::Calendar_Gap:  // the control's message box text, alone
      err << outcome.message << "\n";
      return kExitCalendarGap;
    case Service_Status::Fault:
      break;
  }
  err << "zodiac-chart: " << Printable_Line(outcome.message) << "\n";
  return kExitFault;
}

// A port in decimal digits, 0 to 65535, leading zeros dropped: CLI11's own reading of an int
// would also take "0x10" (16), "+80", and "010" as octal (8).
const CLI::Validator kPortNumber(
    [](std::string& value) -> std::string {
      const bool digits = !value.empty() && value.size() <= 5 &&
                          value.find_first_not_of("0123456789") == std::string::npos;
      if (digits && std::stol(value) <= 65535) {
        value = std::to_string(std::stol(value));
        return "";
      }
      return "'" + value + "' is not a port number (0 to 65535)";
    },
    "PORT");

// --at INSTANT for a command that computes a sky; given twice, the last one counts.
void Add_Instant_Option(CLI::App& command, std::string& at) {
  command.add_option("--at", at, "the instant, ISO 8601 or 'now'")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

struct Positions_Options {
  std::string at = "now";
  bool json = false;
};

int Run_Positions(const Positions_Options& o, std::ostream& out, std::ostream& err) {
  Computed_Instant computed;
  if (const Outcome c = Compute_Sky(o.at, computed); !c.Ok()) return Report(c, err);
  if (o.json) {
    out << Positions_Json(computed) << "\n";
  } else {
    Print_Positions_Table(computed, out);
  }
  return kExitOk;
}

struct Analysis_Options {
  std::string at = "now";
  std::string sign;
  bool json = false;
};

int Run_Analysis(const Analysis_Options& o, std::ostream& out, std::ostream& err) {
  int sign;
  if (const Outcome c = Read_Sign(o.sign, sign); !c.Ok()) return Report(c, err);
  Computed_Instant computed;
  std::string text;
  if (const Outcome c = Compute_Analysis(o.at, sign, computed, text); !c.Ok())
    return Report(c, err);
  out << (o.json ? Analysis_Json(computed, sign, text) : For_Terminal(text)) << "\n";
  return kExitOk;
}

struct Render_Options {
  std::string at = "now";
  std::string output;  // empty: standard output
  std::string analysis;
  bool has_analysis = false;
  bool png = false;
  int scale = 1;
  bool has_scale = false;
  std::string card;
  bool has_card = false;
  bool html = false;  // the element's server-rendered fragment instead of the SVG document
  bool has_at = false;
  std::string base = "/";
};

int Run_Render(const Render_Options& o, std::ostream& out, std::ostream& err) {
  int sign = -1;
  if (o.has_analysis) {
    if (const Outcome c = Read_Sign(o.analysis, sign); !c.Ok()) return Report(c, err);
  }
  if (o.has_card && (o.has_analysis || o.png || o.has_scale))
    return Usage_Error(err, "--card takes no --analysis, --png or --scale");
  if (o.has_scale && !o.png) return Usage_Error(err, "--scale needs --png");
  if (o.html && (o.has_card || o.has_analysis || o.png))
    return Usage_Error(err, "--html takes no --card, --analysis or --png");
  std::string svg;
  if (o.html) {
    const std::string at = o.has_at && o.at != "now" ? o.at : "";
    if (const Outcome c = Render_Chart_Html(o.at, at, o.base, svg, err); !c.Ok())
      return Report(c, err);
    svg += '\n';
  } else if (o.has_card) {
    int card_sign;
    if (const Outcome c = Read_Sign(o.card, card_sign); !c.Ok()) return Report(c, err);
    if (const Outcome c = Render_Card(o.at, card_sign, svg, err); !c.Ok()) return Report(c, err);
  } else if (o.png) {
    if (const Outcome c = Render_Png(o.at, sign, o.scale, svg, err); !c.Ok()) return Report(c, err);
  } else if (const Outcome c = Render_Chart(o.at, sign, svg, err); !c.Ok()) {
    return Report(c, err);
  }
  if (o.output.empty()) {
    out << svg;
    return kExitOk;
  }
  std::ofstream file(o.output, std::ios::binary | std::ios::trunc);
  if (file) file << svg;
  if (!file || !file.flush())
    return Usage_Error(err, "cannot write '" + o.output + "': " + std::strerror(errno));
  return kExitOk;
}

struct Serve_Options {
  std::string host = "127.0.0.1";
  int port = 8080;
  std::string bundle = ZC_DEFAULT_BUNDLE_DIR;
};

int Run_Serve(const Serve_Options& o, std::ostream& out, std::ostream& err) {
  if (o.host.empty()) return Usage_Error(err, "--host needs an address (127.0.0.1, 0.0.0.0, ::1)");
  Demo_Server server(o.bundle);
  if (server.File_Count() == 0)
    err << "zodiac-chart: warning: no web bundle in '" << o.bundle
        << "' (scripts/build-web makes it); serving the SVG and JSON routes only\n";
  const int port = server.Bind(o.host, o.port);
  if (port < 0)
    return Usage_Error(err, "cannot listen on " + o.host + " port " + std::to_string(o.port));
  const bool v6 = o.host.find(':') != std::string::npos;
  if (!(out << "http://" << (v6 ? "[" + o.host + "]" : o.host) << ":" << port << "/" << std::endl))
    return kExitUsage;  // Run_Cli reports it
  if (!server.Listen()) {
    err << "zodiac-chart: the server stopped on an error\n";
    return kExitFault;
  }
  return kExitOk;
}

int Parse_And_Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app{"where the Sun, the Moon and the planets stand", "zodiac-chart"};
  app.require_subcommand(1);
  app.set_version_flag("--version", kVersion);

  Positions_Options positions_options;
  CLI::App* positions = app.add_subcommand("positions", "the ten bodies' positions");
  Add_Instant_Option(*positions, positions_options.at);
  positions->add_flag("--json", positions_options.json, "one JSON object instead of text")
      ->disable_flag_override();

  Analysis_Options analysis_options;
  CLI::App* analysis = app.add_subcommand("analysis", "the daily analysis for one sign");
  analysis->add_option("--sign", analysis_options.sign, "0..11, aries..pisces or the caption")
      ->required()
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  Add_Instant_Option(*analysis, analysis_options.at);
  analysis->add_flag("--json", analysis_options.json, "one JSON object instead of text")
      ->disable_flag_override();

  Render_Options render_options;
  CLI::App* render = app.add_subcommand("render", "the chart as one SVG document");
  Add_Instant_Option(*render, render_options.at);
  render->add_option("-o", render_options.output, "the SVG file to write")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  render->add_option("--analysis", render_options.analysis, "draw the analysis window")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  render->add_flag("--png", render_options.png, "a PNG picture instead of SVG");
  render->add_option("--scale", render_options.scale, "the PNG's scale, 1 to 4")
      ->check(CLI::Range(1, 4))
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  render->add_flag("--html", render_options.html,
                   "the <zodiac-chart> element with its chart as Declarative Shadow DOM");
  render->add_option("--base", render_options.base,
                     "with --html: the address of the web bundle (default /)")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  render->add_option("--card", render_options.card, "the social card for a sign")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  Serve_Options serve_options;
  CLI::App* serve = app.add_subcommand("serve", "the demo page and the outputs over HTTP");
  serve->add_option("--host", serve_options.host, "the address to listen on")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  serve->add_option("--port", serve_options.port, "the port, 0 for a free one")
      ->check(kPortNumber)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  serve->add_option("--bundle", serve_options.bundle, "the web bundle folder")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  // "zodiac-chart help" works like --help; not listed.
  CLI::App* help = app.add_subcommand("help")->group("")->allow_extras();

  // A command word comes first; name the unknown one rather than report a missing command.
  if (args.empty()) return Usage_Error(err, "missing command");
  const std::string& first = args[0];
  if (first.rfind('-', 0) != 0 &&
      app.get_subcommands([&](CLI::App* c) { return c->check_name(first); }).empty())
    return Usage_Error(err, "unknown command '" + first + "'");

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << kHelp;
    return kExitOk;
  } catch (const CLI::CallForVersion& e) {
    out << e.what() << "\n";
    return kExitOk;
  } catch (const CLI::ExtrasError&) {
    // CLI11 lists the leftovers in no useful order; name the first one as it was typed.
    const std::vector<std::string> left = app.remaining(true);
    for (const std::string& a : args) {
      if (std::find(left.begin(), left.end(), a) == left.end()) continue;
      const char* kind = a.rfind('-', 0) == 0 ? "unknown option '" : "unexpected argument '";
      return Usage_Error(err, kind + a + "'");
    }
    return Usage_Error(err, "unexpected arguments");
  } catch (const CLI::ParseError& e) {
    // CLI11's own codes (106 no command, 114 missing value, ...) all mean bad usage here.
    return Usage_Error(err, e.what());
  }
  if (help->parsed()) {
    out << kHelp;
    return kExitOk;
  }
  if (positions->parsed()) return Run_Positions(positions_options, out, err);
  if (analysis->parsed()) return Run_Analysis(analysis_options, out, err);
  if (render->parsed()) {
    render_options.has_analysis = render->count("--analysis") > 0;
    render_options.has_scale = render->count("--scale") > 0;
    render_options.has_card = render->count("--card") > 0;
    render_options.has_at = render->count("--at") > 0;
    return Run_Render(render_options, out, err);
  }
  if (serve->parsed()) return Run_Serve(serve_options, out, err);
  return Usage_Error(err, "missing command");  // not reached: exactly one command is required
}
}  // namespace

int Run_Cli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int status;
  try {
    status = Parse_And_Run(args, out, err);
  } catch (const std::exception& e) {
    // Anything else that fails (memory, text that is not UTF-8 reaching the JSON writer) is a
    // fault, never a silent success.
    err << "zodiac-chart: " << Printable_Line(e.what()) << "\n";
    status = kExitFault;
  }
  // Output that did not reach its file (a full disk, a closed pipe) is a failure.
  if (!out.flush()) {
    err << "zodiac-chart: cannot write to standard output\n";
    status = kExitUsage;
  }
  if (!err.flush()) status = kExitUsage;
  return status;
}
