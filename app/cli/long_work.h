#pragma once
// Long work on the command line, shared by every command that may run for a
// while: a progress line on stderr while stderr is a terminal (nothing
// otherwise, so logs and pipes stay clean), and Ctrl+C turned into a stop
// request that the core honours through its ProgressCallback, so a stopped
// command leaves no torn output file and no temporary behind.
//
//   LongWork work;                                   // at the start of run()
//   session.randomDraw(count, work.progress("抽選中"));
//   work.throwIfStopped();                           // Ctrl+C: exit code 130
//   writeListLines(out, session.list(), work);
//   work.saveList(path, list, pages);                // atomic, stoppable

#include <csignal>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "core/combination_list.h"
#include "core/progress.h"

namespace tambor::cli {

// The user stopped the command (Ctrl+C or SIGTERM). main reports
// "中断しました。" and exits with 130 (128 + SIGINT), as shells expect.
struct Interrupted {};

class LongWork {
public:
    // Catches SIGINT and SIGTERM for the rest of the program's run (never
    // handing them back, so a late Ctrl+C cannot kill a command that has
    // finished its work); a second Ctrl+C ends the program at once.
    // Progress goes to stderr only when it is a terminal.
    LongWork();
    // The same with the progress line forced on (tests) or off.
    explicit LongWork(bool showProgress);
    ~LongWork();
    LongWork(const LongWork&) = delete;
    LongWork& operator=(const LongWork&) = delete;

    // A callback for one step of the core's work: shows "label 42%" in
    // place, and answers false once a stop was requested.
    ProgressCallback progress(std::string label);
    bool stopRequested() const;
    // Throws Interrupted when a stop was requested.
    void throwIfStopped() const;
    // A message for the user on stderr (its own line, after clearing the
    // progress line); the command goes on.
    void note(const std::string& message);

    // Saves the list as the window's save does (layout by the file name),
    // with progress; a stop leaves any existing file as it was, removes the
    // temporary and throws Interrupted. Throws FileError. Once the file is
    // in place the command is done: later stop requests are ignored (the
    // command exits 0 and says the save was already complete).
    void saveList(const std::filesystem::path& path, CombinationList& list, int pages);
    // The --data folder: its lotodata.txt, lotodata.bak and Tambor.ini are
    // refused as outputs, as those of the program's own data folder always are.
    void protectFolder(std::filesystem::path dataFolder) { protectedFolder_ = std::move(dataFolder); }
    // For output written elsewhere (the update's history file): the
    // command's work is in place, later stop requests change nothing.
    void markDone() { saved_ = true; }
    // Writes bytes to path atomically with progress; a stop as saveList.
    void saveFile(const std::filesystem::path& path, std::string_view bytes, std::string label = "保存中");
    // Runs a save that reports to progress and answers false when it
    // stopped (one written piece by piece); a stop as saveList.
    void saveWith(const std::function<bool(const ProgressCallback& progress)>& save, std::string label = "保存中");

private:
    void show(const std::string& label, int percent);
    void clearLine();

    bool showProgress_;
    bool lineShown_ = false;
    bool saved_ = false;
    std::filesystem::path protectedFolder_;
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

// Writes the list's lines, one a line, stopping (Interrupted) on Ctrl+C.
void writeListLines(std::ostream& out, const CombinationList& list, const LongWork& work);

}  // namespace tambor::cli
