// Speed at scale: the real program with a full notebook (500 cards, ten of 1 MB RTF and ten
// of 1 MB plain text by default) on a private Xvfb desktop, timed through its trace lines and
// set against floors measured in the same run:
//   start-up until the default card is drawn, and showing the hidden window by Win+F2,
//     against a minimal Qt Widgets program showing a QTextEdit;
//   card switches (save of the unmodified card left + load + first paint), against
//     QTextDocument::setPlainText of the same text;
//   resident memory after start and after visiting every card once.
//
//   scale_bench [--cards N] [--big N] [--runs N] [--starts N]
//     (defaults: 500 cards, 10 big of each kind, 5 runs, 5 start-ups of each program a run)
//   scale_bench [--cards N] [--big N] --write FOLDER  only writes the notebook, to profile by hand
//
// Prints every run, then the medians with their floors, ratios and targets. Exits 1 when a
// figure could not be measured (the program did not start, a switch never painted); a missed
// target is reported, not failed: this harness measures, the tests judge correctness.
#include <QGuiApplication>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>

#include "e2e/desktop.h"
#include "notebook_generator.h"
#include "trace_reader.h"

namespace qw::bench {
namespace {

using namespace std::chrono_literals;

struct Options {
  NotebookShape shape;
  int runs = 5;
  // A single start-up varies by several milliseconds with what the machine is doing: each run
  // times this many of the floor and the program, alternating, and keeps the median.
  int starts = 5;
  std::string writeOnly;  // a folder to write the notebook into, measuring nothing
};

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--write") {
      options.writeOnly = argv[i + 1];
      continue;
    }
    const int value = std::stoi(argv[i + 1]);
    if (name == "--cards")
      options.shape.cards = value;
    else if (name == "--big")
      options.shape.bigRtfCards = options.shape.bigPlainCards = value;
    else if (name == "--runs")
      options.runs = value;
    else if (name == "--starts")
      options.starts = std::max(1, value);
    else
      throw std::invalid_argument("unknown option " + name);
  }
  if (argc % 2 == 0) throw std::invalid_argument("every option takes a value");
  return options;
}

// Samples of each figure, one per run.
using Samples = std::map<std::string, std::vector<double>>;

template <typename T>
T need(std::optional<T> value, const char* what) {
  if (!value) throw std::runtime_error(what);
  return *value;
}

// A program started on the desktop with its trace lines on.
class TracedProcess {
 public:
  TracedProcess(const e2e::Desktop& desktop, const QString& program) : trace_(process_) {
    QProcessEnvironment environment = desktop.environment();
    environment.insert("QUILLWICK_TRACE_STARTUP", "1");
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    launched_ = Clock::now();
    process_.start(program, {});
    if (!process_.waitForStarted(10000))
      throw std::runtime_error("could not start " + program.toStdString());
  }
  ~TracedProcess() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }

  TraceReader& trace() { return trace_; }
  QProcess& process() { return process_; }
  double millisecondsSinceLaunch(size_t event) const {
    return millisecondsBetween(launched_, trace_.events()[event].at);
  }
  double millisecondsBetweenEvents(size_t from, size_t to) const {
    return millisecondsBetween(trace_.events()[from].at, trace_.events()[to].at);
  }
  // Resident memory in MiB, from /proc.
  double residentMiB() const {
    std::ifstream status("/proc/" + std::to_string(process_.processId()) + "/status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    throw std::runtime_error("no VmRSS for the program");
  }

 private:
  QProcess process_;
  TraceReader trace_;
  Clock::time_point launched_;
};

// The first paint after event `from`, in ms after it.
double paintedAfter(TracedProcess& p, size_t from, const char* what) {
  const size_t painted = need(p.trace().waitFor("painted", from, 60s), what);
  return p.millisecondsBetweenEvents(from, painted);
}

// The floor program started and timed until its first paint; the event of that paint.
size_t startFloor(TracedProcess& floor, Samples& samples) {
  const size_t painted =
      need(floor.trace().waitFor("painted", 0, 30s), "the floor program never drew");
  samples["start floor"].push_back(floor.millisecondsSinceLaunch(painted));
  return painted;
}

// The same for the program: its first paint once it has loaded its cards.
void startProgram(TracedProcess& quillwick, Samples& samples) {
  TraceReader& trace = quillwick.trace();
  const size_t ready = need(trace.waitFor("ready", 0, 60s), "the program never loaded its cards");
  const size_t painted = need(trace.waitFor("painted", ready, 30s), "the program never drew");
  samples["start"].push_back(quillwick.millisecondsSinceLaunch(painted));
}

QString programPath(const e2e::Program& program) {
  return QString::fromStdString((program.folder() / "quillwick").string());
}

void measureFloor(const e2e::Desktop& desktop, Samples& samples) {
  TracedProcess floor(desktop, QW_FLOOR_PROGRAM);
  TraceReader& trace = floor.trace();
  const size_t painted = startFloor(floor, samples);
  samples["memory floor"].push_back(floor.residentMiB());
  const size_t shown =
      need(trace.waitFor("show", painted, 10s), "the floor program never showed again");
  samples["show floor"].push_back(paintedAfter(floor, shown, "the floor program never drew again"));
  floor.process().waitForFinished(10000);
}

void copyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::remove_all(to);
  std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

// One more start-up of the floor, then of the program on a fresh copy of the notebook, each
// timed until its first paint and then killed.
void measureStartUps(const e2e::Desktop& desktop, const e2e::Program& program,
                     const std::filesystem::path& notebook, Samples& samples) {
  {
    TracedProcess floor(desktop, QW_FLOOR_PROGRAM);
    startFloor(floor, samples);
  }
  copyFolder(notebook, program.dataFolder());
  TracedProcess quillwick(desktop, programPath(program));
  startProgram(quillwick, samples);
}

void measureProgram(const e2e::Desktop& desktop, const e2e::Program& program,
                    const std::filesystem::path& notebook, const NotebookShape& shape,
                    Samples& samples) {
  copyFolder(notebook, program.dataFolder());
  TracedProcess quillwick(desktop, programPath(program));
  TraceReader& trace = quillwick.trace();

  startProgram(quillwick, samples);
  const size_t stripBegin = need(trace.waitFor("strip-begin", 0, 1s), "no strip was built");
  const size_t stripEnd = need(trace.waitFor("strip-end", stripBegin, 1s), "no strip was built");
  samples["strip"].push_back(quillwick.millisecondsBetweenEvents(stripBegin, stripEnd));

  std::this_thread::sleep_for(1s);
  samples["memory after start"].push_back(quillwick.residentMiB());

  if (!program.waitForMainWindow()) throw std::runtime_error("the main window never showed");
  desktop.run("xdotool", {"windowactivate", "--sync", program.mainWindow()});
  // Every card once, from the main card down the strip.
  const std::map<int, std::string> timed = {{kBigRtfCard, "switch to a 1 MB RTF card"},
                                            {kSmallPairFirst, "switch from it to a small card"},
                                            {kSmallPairFirst + 1, "switch to a small card"},
                                            {kBigPlainCard, "switch to a 1 MB plain card"}};
  for (int position = 1; position <= shape.cards; ++position) {
    const size_t from = trace.next();
    desktop.run("xdotool", {"key", "ctrl+k"});
    const size_t command = need(trace.waitFor("command", from, 30s), "Ctrl+K did nothing");
    const double ms = paintedAfter(quillwick, command, "a switched card never drew");
    if (const auto found = timed.find(position); found != timed.end())
      samples[found->second].push_back(ms);
    // A big card is drawn from its first part; the rest follows right after.
    if (position == kBigRtfCard) {
      const size_t complete =
          need(trace.waitFor("card-complete", command, 30s), "the big card never came in whole");
      samples["switch to a 1 MB RTF card, all of it in"].push_back(
          quillwick.millisecondsBetweenEvents(command, complete));
    }
  }
  // The labels below the screen came when the walk went past it; a short strip has none.
  double rest = 0;
  if (const auto restBegin = trace.waitFor("strip-rest-begin", stripEnd, 2s))
    rest = quillwick.millisecondsBetweenEvents(
        *restBegin,
        need(trace.waitFor("strip-rest-end", *restBegin, 2s), "the strip was left half made"));
  samples["strip, the labels below the screen"].push_back(rest);

  std::this_thread::sleep_for(1s);
  samples["memory after visiting every card"].push_back(quillwick.residentMiB());

  desktop.run("xdotool", {"key", "F2"});
  if (!e2e::waitUntil([&] { return program.mainWindow().isEmpty(); }))
    throw std::runtime_error("F2 did not put the window away");
  std::this_thread::sleep_for(500ms);
  const size_t from = trace.next();
  desktop.run("xdotool", {"key", "super+F2"});
  const size_t shown = need(trace.waitFor("show", from, 10s), "Win+F2 did not show the window");
  samples["show by Win+F2"].push_back(
      paintedAfter(quillwick, shown, "the shown window never drew"));

  desktop.run("xdotool", {"key", "ctrl+q"});
  if (!quillwick.process().waitForFinished(20000))
    throw std::runtime_error("Ctrl+Q did not end the program");
}

double median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median of `repeats` timings of setPlainText into a fresh document.
double setPlainTextMs(const std::string& text, int repeats = 5) {
  const QString qtext = QString::fromStdString(text);
  std::vector<double> times;
  for (int i = 0; i < repeats; ++i) {
    QTextDocument document;
    const auto start = Clock::now();
    document.setPlainText(qtext);
    times.push_back(millisecondsBetween(start, Clock::now()));
  }
  return median(std::move(times));
}

std::string fixed(double value, const char* unit) {
  char text[64];
  // A small card's floor is a few microseconds: it must not read as nothing.
  std::snprintf(text, sizeof text,
                value < 0.1  ? "%.4f %s"
                : value < 10 ? "%.2f %s"
                             : "%.0f %s",
                value, unit);
  return text;
}

std::string ratio(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f×", value);
  return text;
}

// One table row: figure, median, floor, ratio, target, met.
void row(const std::string& figure, const std::string& value, const std::string& floor,
         const std::string& ratioText, const std::string& target, std::optional<bool> met) {
  std::printf("| %s | %s | %s | %s | %s | %s |\n", figure.c_str(), value.c_str(), floor.c_str(),
              ratioText.c_str(), target.c_str(),
              !met   ? ""
              : *met ? "yes"
                     : "**no**");
}

void report(const Samples& samples, const Options& options) {
  const auto m = [&](const std::string& name) {
    const auto found = samples.find(name);
    return found == samples.end() ? NAN : median(found->second);
  };
  std::printf(
      "\nMedians of %d run%s (start-up: of each run's median of %d), %d cards (%d of 1 MB "
      "RTF, %d of 1 MB plain text):\n\n",
      options.runs, options.runs == 1 ? "" : "s", options.starts, options.shape.cards,
      options.shape.bigRtfCards, options.shape.bigPlainCards);
  std::printf("| figure | median | floor | ratio | target | met |\n|---|---|---|---|---|---|\n");
  const double start = m("start"), startFloor = m("start floor");
  row("start-up until the default card is drawn", fixed(start, "ms"),
      fixed(startFloor, "ms") + " (minimal Qt program)", ratio(start / startFloor), "≤ 1.5×",
      start <= 1.5 * startFloor);
  const double stripFirst = m("strip"), stripRest = m("strip, the labels below the screen");
  row("strip of " + std::to_string(options.shape.cards + 1) +
          " cards at start: the labels of one screen (the others are made when they could be "
          "seen, the " +
          std::to_string(2 * (options.shape.cards + 1)) +
          " copy-menu entries when a copy menu opens)",
      fixed(stripFirst, "ms"), "", fixed(100 * stripFirst / start, "% of start-up"),
      "< 10% of start-up", stripFirst < start / 10);
  row("strip: the labels below the screen, made when the walk through the cards goes past it",
      fixed(stripRest, "ms"), "", "", "", std::nullopt);
  const double rtf = m("switch to a 1 MB RTF card"), rtfFloor = m("setPlainText RTF");
  row("switch to a 1 MB RTF card", fixed(rtf, "ms"), fixed(rtfFloor, "ms") + " (setPlainText)",
      ratio(rtf / rtfFloor), "≤ 2×", rtf <= 2 * rtfFloor);
  const double rtfWhole = m("switch to a 1 MB RTF card, all of it in");
  row("switch to a 1 MB RTF card, until all of it is in the editor", fixed(rtfWhole, "ms"),
      fixed(rtfFloor, "ms") + " (setPlainText)", ratio(rtfWhole / rtfFloor), "", std::nullopt);
  const double plain = m("switch to a 1 MB plain card"), plainFloor = m("setPlainText plain");
  row("switch to a 1 MB plain card", fixed(plain, "ms"),
      fixed(plainFloor, "ms") + " (setPlainText)", ratio(plain / plainFloor), "", std::nullopt);
  const double small = m("switch to a small card"), smallFloor = m("setPlainText small");
  row("switch to a small card", fixed(small, "ms"), fixed(smallFloor, "ms") + " (setPlainText)", "",
      "< 16 ms", small < 16);
  row("switch from a 1 MB RTF card to a small one",
      fixed(m("switch from it to a small card"), "ms"), "", "", "", std::nullopt);
  const double show = m("show by Win+F2"), showFloor = m("show floor");
  row("show the hidden window by Win+F2 until drawn", fixed(show, "ms"),
      fixed(showFloor, "ms") + " (minimal Qt program)", ratio(show / showFloor), "", std::nullopt);
  const double memory = m("memory after start"), visited = m("memory after visiting every card");
  row("resident memory after start", fixed(memory, "MiB"),
      fixed(m("memory floor"), "MiB") + " (minimal Qt program)", "", "", std::nullopt);
  row("resident memory after visiting every card", fixed(visited, "MiB"), "",
      ratio(visited / memory) + " of after start", "≤ 2×", visited <= 2 * memory);
}

int run(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);
  if (!options.writeOnly.empty()) {
    writeNotebook(options.writeOnly, options.shape);
    return 0;
  }
  e2e::Desktop desktop;
  e2e::Program program(desktop);
  QTemporaryDir scratch;
  const std::filesystem::path notebook = scratch.path().toStdString() + "/notebook";
  const NotebookTexts texts = writeNotebook(notebook, options.shape);

  Samples samples;
  samples["setPlainText RTF"].push_back(setPlainTextMs(texts.bigRtf));
  samples["setPlainText plain"].push_back(setPlainTextMs(texts.bigPlain));
  samples["setPlainText small"].push_back(setPlainTextMs(texts.small));
  for (int r = 1; r <= options.runs; ++r) {
    Samples one;
    measureFloor(desktop, one);
    measureProgram(desktop, program, notebook, options.shape, one);
    for (int s = 1; s < options.starts; ++s) measureStartUps(desktop, program, notebook, one);
    std::printf("run %d:", r);
    for (const auto& [name, values] : one) {
      const double value = median(values);
      std::printf(" %s %.1f;", name.c_str(), value);
      samples[name].push_back(value);
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  report(samples, options);
  return 0;
}

}  // namespace
}  // namespace qw::bench

int main(int argc, char** argv) {
  // The floors of the switches are timed here, in a document that needs fonts but no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  try {
    return qw::bench::run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "scale_bench: %s\n", e.what());
    return 1;
  }
}
