#pragma once
// Progress reporting for long work. The caller's callback receives a
// percentage 0..100 and returns false to stop the work early; it is called
// at most once per 1,000 units and at the last unit, so it costs nothing
// in the hot loops.

#include <algorithm>
#include <cstdint>
#include <functional>

namespace tambor {

using ProgressCallback = std::function<bool(int percent)>;

// Counts units of work and calls the callback when the count reaches a
// multiple of 1,000 or the total, with (count + 1) × 100 / total clamped to
// 0..100 (count × 100 / total when countPlusOne is false).
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
        if (percent < 0) percent = 0;
        if (percent > 100) percent = 100;
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

}  // namespace tambor
