#pragma once
// Shared by the fuzz harnesses: invariant checks that stop the run with a
// message (libFuzzer then saves the input), and a reader that takes a few
// choices from the front of the input before the rest is used as data.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/game.h"

namespace tambor::fuzz {

// An invariant that must hold for every input; a violation aborts.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::abort();
}

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

    // One byte of the front (0 when the input is used up).
    std::uint8_t byte() {
        if (text_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(text_.front());
        text_.remove_prefix(1);
        return b;
    }
    GameMode game() { return (byte() & 1) != 0 ? GameMode::Loto6 : GameMode::MiniLoto; }
    // What is left, as text.
    std::string_view rest() const { return text_; }

private:
    std::string_view text_;
};

}  // namespace tambor::fuzz
