#pragma once
// Progress reporting for long work. Every long operation of the core takes
// one ProgressCallback: it receives a percentage 0..100 and returns false
// to stop the work early. What was done before the stop stays consistent;
// each operation says what that means for it.

#include <algorithm>
#include <cstdint>
#include <functional>

namespace tambor {

using ProgressCallback = std::function<bool(int percent)>;

// Counts units of work and calls the callback when the count reaches a
// multiple of 1,000 or the total, with (count + 1) × 100 / total clamped to
// 0..100 (count × 100 / total when countPlusOne is false). It costs nothing
// in the hot loops.
class ProgressTicker {
public:
    static constexpr std::int64_t kStep = 1000;

    ProgressTicker(const ProgressCallback& callback, std::int64_t total, bool countPlusOne = true)
        : callback_(callback), total_(total), plusOne_(countPlusOne) {
        nextReport_ = callback_ ? std::min<std::int64_t>(kStep, total_) : -1;
    }

    // One unit done; false when the callback asked to stop.
    bool step() {
        if (++count_ != nextReport_) return true;
        return report();
    }
    std::int64_t count() const { return count_; }
    bool stopped() const { return stopped_; }

private:
    bool report() {
        nextReport_ = count_ + kStep;
        if (nextReport_ > total_ && count_ < total_) nextReport_ = total_;
        std::int64_t percent = total_ > 0 ? (count_ + (plusOne_ ? 1 : 0)) * 100 / total_ : 100;
        percent = std::clamp<std::int64_t>(percent, 0, 100);
        if (!callback_(static_cast<int>(percent))) stopped_ = true;
        return !stopped_;
    }

    const ProgressCallback& callback_;
    std::int64_t total_;
    bool plusOne_;
    std::int64_t count_ = 0;
    std::int64_t nextReport_ = -1;
    bool stopped_ = false;
};

// Calls the callback only when the percentage moves (at most 101 times per
// operation); the answer of the last call is kept for the calls in between,
// so a stop requested once stays requested.
class PercentProgress {
public:
    explicit PercentProgress(const ProgressCallback& callback) : callback_(callback) {}

    // done of total units; false when the work should stop.
    bool report(std::uint64_t done, std::uint64_t total) {
        if (!callback_ || total == 0) return keepGoing_;
        return reportPercent(static_cast<int>(std::min<std::uint64_t>(done * 100 / total, 100)));
    }
    bool reportPercent(int percent) {
        if (!callback_ || percent == last_ || !keepGoing_) return keepGoing_;
        last_ = percent;
        keepGoing_ = callback_(percent);
        return keepGoing_;
    }
    bool stopped() const { return !keepGoing_; }

private:
    const ProgressCallback& callback_;
    int last_ = -1;
    bool keepGoing_ = true;
};

}  // namespace tambor
