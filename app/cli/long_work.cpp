#include "long_work.h"

#include <unistd.h>

#include <cstdio>
#include <ostream>

#include "cli_args.h"
#include "io/combination_file.h"
#include "io/program_files.h"
#include "io/text_file.h"

namespace tambor::cli {
namespace {

// A list is never saved over the history or the settings, of the --data
// folder or of the program's own data folder.
void refuseProgramFiles(const std::filesystem::path& target, const std::filesystem::path& dataFolder) {
    refuseProgramFile(target, dataFolder);
    std::filesystem::path own;
    try {
        own = programFolder();
    } catch (const std::exception&) {
        return;  // no data folder of its own: nothing there to protect
    }
    refuseProgramFile(target, own);
}

volatile std::sig_atomic_t stopSignal = 0;

// Only sets the flag; SA_RESETHAND restores the default action, so a second
// Ctrl+C ends a program that does not stop quickly enough.
extern "C" void requestStop(int signal) { stopSignal = signal; }

// Without SA_RESTART: a call blocked on a pipe or a terminal returns with
// EINTR, so the first Ctrl+C reaches the command's stop test instead of
// being swallowed while it waits.
void install(int signal, struct sigaction& old) {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(signal, &action, &old);
}

// The progress line is drawn straight onto the descriptor: stderr is
// unbuffered, and the line never mixes with the stream's other messages.
void writeStderr(const std::string& text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0) return;  // a closed terminal: progress is not worth an error
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

}  // namespace

LongWork::LongWork() : LongWork(::isatty(STDERR_FILENO) == 1) {}

LongWork::LongWork(bool showProgress) : showProgress_(showProgress) {
    stopSignal = 0;
    install(SIGINT, oldInt_);
    install(SIGTERM, oldTerm_);
}

LongWork::~LongWork() {
    clearLine();
    // The handlers stay until the program exits: put back, the default
    // action of a late Ctrl+C would kill the program between a finished
    // save and its exit code.
    if (saved_ && stopSignal != 0) writeStderr("保存はすでに完了していたため、そのまま終了します。\n");
}

ProgressCallback LongWork::progress(std::string label) {
    return [this, label = std::move(label), last = -1](int percent) mutable {
        if (stopRequested()) return false;
        if (percent != last) {
            last = percent;
            show(label, percent);
        }
        return true;
    };
}

// Once an output file is saved the command is done: a stop asked for after
// that moment changes nothing.
bool LongWork::stopRequested() const { return stopSignal != 0 && !saved_; }

void LongWork::throwIfStopped() const {
    if (stopRequested()) throw Interrupted{};
}

void LongWork::note(const std::string& message) {
    clearLine();
    writeStderr(message + "\n");
}

void LongWork::show(const std::string& label, int percent) {
    if (!showProgress_) return;
    // "\r" back to the start of the line, "\x1b[K" erases what a longer
    // label left.
    writeStderr("\r" + label + " " + std::to_string(percent) + "%\x1b[K");
    lineShown_ = true;
}

void LongWork::clearLine() {
    if (!lineShown_) return;
    writeStderr("\r\x1b[K");
    lineShown_ = false;
}

void LongWork::saveList(const std::filesystem::path& path, CombinationList& list, int pages) {
    throwIfStopped();
    refuseProgramFiles(path, protectedFolder_);
    const bool saved = saveCombinationFileUnlessStopped(path.string(), list, pages, progress("保存中"));
    clearLine();
    if (!saved) throw Interrupted{};
    saved_ = true;
}

void LongWork::saveFile(const std::filesystem::path& path, std::string_view bytes, std::string label) {
    throwIfStopped();
    refuseProgramFiles(path, protectedFolder_);
    const bool saved = writeFileBytesAtomic(path, bytes, progress(std::move(label)));
    clearLine();
    if (!saved) throw Interrupted{};
    saved_ = true;
}

void LongWork::saveWith(const std::function<bool(const ProgressCallback& progress)>& save, std::string label) {
    throwIfStopped();
    const bool saved = save(progress(std::move(label)));
    clearLine();
    if (!saved) throw Interrupted{};
    saved_ = true;
}

void writeListLines(std::ostream& out, const CombinationList& list, const LongWork& work) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i % 4096 == 0) work.throwIfStopped();
        out << list.lineAt(i) << '\n';
    }
}

}  // namespace tambor::cli
