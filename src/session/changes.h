#pragma once
// What an operation of the session changed, so that the windows refresh
// exactly that; and what the user must be told about it.

#include <cstdint>
#include <string>
#include <vector>

namespace tambor {

enum class Change : std::uint32_t {
    Game = 1u << 0,         // the game in force (and everything game-shaped)
    List = 1u << 1,         // the combination list
    Duplicates = 1u << 2,   // the duplicate list
    Board = 1u << 3,        // roles, marks, the current role, the R-system switch
    History = 1u << 4,      // the winning-number history and its statistics
    Prize = 1u << 5,        // the grade and money fields of the prize check
    PrizeRound = 1u << 6,   // the draw the prize check uses
    PrizeLines = 1u << 7,   // the winning lines the prize check found
    Report = 1u << 8,       // the random draw's weighting report
    Options = 1u << 9,      // any option
    DrawCount = 1u << 10,   // the draw count field takes the default draw count
};

class Changes {
public:
    Changes() = default;
    Changes(Change change) : bits_(static_cast<std::uint32_t>(change)) {}  // NOLINT: a change is a set of one

    bool has(Change change) const { return (bits_ & static_cast<std::uint32_t>(change)) != 0; }
    bool any() const { return bits_ != 0 || !problems_.empty() || !refusal_.empty(); }

    Changes& operator|=(const Changes& other) {
        bits_ |= other.bits_;
        problems_.insert(problems_.end(), other.problems_.begin(), other.problems_.end());
        if (!other.refusal_.empty()) refusal_ = other.refusal_;
        return *this;
    }
    friend Changes operator|(Changes a, const Changes& b) { return a |= b; }

    // A failure the user must hear about; the operation went on with a
    // fallback (the built-in history, the default settings, ...).
    void addProblem(std::string message) { problems_.push_back(std::move(message)); }
    const std::vector<std::string>& problems() const { return problems_; }

    // Why the operation did nothing (or less than asked): a short reason
    // for the status bar, never a dialog.
    static Changes refused(std::string reason) {
        Changes changes;
        changes.refusal_ = std::move(reason);
        return changes;
    }
    void setRefusal(std::string reason) { refusal_ = std::move(reason); }
    const std::string& refusal() const { return refusal_; }

    // Every kind of change: a window shows the whole session afresh.
    static Changes everything() {
        Changes all;
        all.bits_ = (1u << 11) - 1;
        return all;
    }

private:
    std::uint32_t bits_ = 0;
    std::vector<std::string> problems_;
    std::string refusal_;
};

inline Changes operator|(Change a, Change b) { return Changes(a) | Changes(b); }

}  // namespace tambor
