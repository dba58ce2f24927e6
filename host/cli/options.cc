#include "host/cli/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <map>

#include <boost/format.hpp>

namespace qv::host::cli {
namespace {

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"devices", Command::Devices}, {"props", Command::Props},       {"snap", Command::Snap},
      {"sequence", Command::Sequence}, {"watch", Command::Watch}, {"help", Command::Help}};
  return commands;
}

bool ParseLong(const std::string& text, long min, long* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < min) return false;
  *value = parsed;
  return true;
}

bool ParseDouble(const std::string& text, double min, double* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(parsed) || parsed < min) return false;
  *value = parsed;
  return true;
}

// "X,Y,WIDTH,HEIGHT": four unsigned numbers.
bool ParseRegion(const std::string& text, unsigned region[4]) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = i < 3 ? text.find(',', start) : text.size();
    if (comma == std::string::npos) return false;
    long value = 0;
    if (!ParseLong(text.substr(start, comma - start), 0, &value) || value > 0xFFFFFFFFL) {
      return false;
    }
    region[i] = static_cast<unsigned>(value);
    start = comma + 1;
  }
  return true;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : args_(args) {}

  ParseResult Run() {
    while (pos_ < args_.size() && result_.error.empty()) Step(args_[pos_++]);
    if (result_.error.empty()) CheckCommand();
    result_.ok = result_.error.empty();
    return result_;
  }

 private:
  Options& o() { return result_.options; }

  void Fail(const std::string& message) {
    if (result_.error.empty()) result_.error = message;
  }

  // The value of an option: "--name=value" or the next argument.
  bool Value(const std::string& name, const std::string* inlineValue, std::string* value) {
    if (inlineValue != nullptr) {
      *value = *inlineValue;
      return true;
    }
    if (pos_ >= args_.size()) {
      Fail((boost::format("option %s needs a value") % name).str());
      return false;
    }
    *value = args_[pos_++];
    return true;
  }

  void Step(const std::string& arg) {
    if (arg.rfind("--", 0) != 0) {
      Word(arg);
      return;
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::string inlineText = eq == std::string::npos ? "" : arg.substr(eq + 1);
    const std::string* inlineValue = eq == std::string::npos ? nullptr : &inlineText;
    if (name == "--json" || name == "--verbose" || name == "--help") {
      if (inlineValue != nullptr) return Fail((boost::format("option %s takes no value") % name).str());
      if (name == "--json") o().json = true;
      if (name == "--verbose") o().verbose = true;
      if (name == "--help") o().command = Command::Help;
      return;
    }
    std::string value;
    if (name == "--adapters" || name == "--device" || name == "--out" || name == "--set" ||
        name == "--count" || name == "--interval" || name == "--seconds" ||
        name == "--buffer-frames" || name == "--buffer-mb" || name == "--overflow" ||
        name == "--region") {
      if (!Value(name, inlineValue, &value)) return;
      Option(name, value);
      return;
    }
    Fail((boost::format("unknown option %s") % name).str());
  }

  void Option(const std::string& name, const std::string& value) {
    const auto bad = [&](const char* what) {
      Fail((boost::format("option %s: \"%s\" is not %s") % name % value % what).str());
    };
    long number = 0;
    if (name == "--adapters") {
      o().adapters = value;
    } else if (name == "--device") {
      o().device = value;
    } else if (name == "--out") {
      o().out = value;
    } else if (name == "--set") {
      const size_t eq = value.find('=');
      if (eq == std::string::npos || eq == 0) return bad("NAME=VALUE");
      o().sets.emplace_back(value.substr(0, eq), value.substr(eq + 1));
    } else if (name == "--region") {
      if (!ParseRegion(value, o().region)) return bad("X,Y,WIDTH,HEIGHT");
      o().hasRegion = true;
    } else if (name == "--count") {
      if (!ParseLong(value, 1, &o().count)) bad("a count of 1 or more");
    } else if (name == "--interval") {
      if (!ParseDouble(value, 0.0, &o().intervalMs)) bad("a non-negative number of milliseconds");
    } else if (name == "--seconds") {
      if (!ParseDouble(value, 0.0, &o().seconds)) bad("a non-negative number of seconds");
    } else if (name == "--buffer-frames") {
      if (!ParseLong(value, 0, &number)) return bad("a frame count");
      o().bufferFrames = static_cast<size_t>(number);
    } else if (name == "--buffer-mb") {
      if (!ParseLong(value, 0, &number)) return bad("a size in megabytes");
      o().bufferMegabytes = static_cast<size_t>(number);
    } else if (name == "--overflow") {
      if (value == "stop") {
        o().overflow = OverflowPolicy::Stop;
      } else if (value == "clear") {
        o().overflow = OverflowPolicy::Clear;
      } else {
        bad("stop or clear");
      }
    }
  }

  void Word(const std::string& word) {
    const auto found = Commands().find(word);
    if (found == Commands().end()) {
      return Fail((boost::format("unknown command \"%s\"") % word).str());
    }
    if (o().command != Command::None && o().command != Command::Help) {
      return Fail((boost::format("more than one command: \"%s\"") % word).str());
    }
    if (o().command != Command::Help) o().command = found->second;
  }

  void CheckCommand() {
    if (o().command == Command::None) return Fail("no command given (devices, props, snap, sequence, watch)");
    if (o().command == Command::Snap && o().out.empty()) return Fail("snap needs --out FILE.tiff");
    if (!o().out.empty() && o().command != Command::Snap && o().command != Command::Sequence) {
      Fail("--out is for snap and sequence only");
    }
  }

  const std::vector<std::string>& args_;
  size_t pos_ = 0;
  ParseResult result_;
};

}  // namespace

ParseResult ParseOptions(const std::vector<std::string>& args) { return Parser(args).Run(); }

const char* UsageText() {
  return R"(usage: mmgr-host [options] COMMAND

commands:
  devices                 the devices the module offers (name, type, description)
  props                   every property of the camera after initialisation
  snap --out FILE.tiff    one image into a TIFF file, with a summary
  sequence                a sequence of --count frames, into a multi-page TIFF with --out
  watch                   print property-change notifications for --seconds

options:
  --adapters DIR          directory holding libmmgr_dal_Quorvex.so and its SDK
  --device NAME           the camera to use (default: the first camera offered)
  --set NAME=VALUE        set a property after initialisation (repeatable, in order)
  --region X,Y,W,H        set the region of interest, after the --set list
  --json                  machine-readable output on stdout
  --verbose               print the device's log messages on stderr
  --out FILE              output TIFF file (snap, sequence)
  --count N               frames of a sequence (default 10)
  --interval MS           interval handed to the sequence (default 0)
  --seconds S             how long watch listens (default 10)
  --buffer-frames N       image buffer limit in frames (default 0: none)
  --buffer-mb N           image buffer limit in MiB (default 512; 0: none)
  --overflow stop|clear   on a full buffer: end the sequence (default) or let the
                          module empty the buffer and go on (losses are counted)

exit codes: 0 done, 1 device or file failure, 2 usage, 3 module not found or not
loadable, 4 no camera or unknown device, 5 unknown property or refused value
)";
}

}  // namespace qv::host::cli
