#pragma once
// Every user option of the program, typed. The session owns one; the
// options tab shows it and the settings file stores it.

#include <array>
#include <map>
#include <string>
#include <vector>

#include "calc/purchase_calculator.h"
#include "generate/combination_builder.h"
#include "generate/combination_filter.h"
#include "generate/random_draw.h"
#include "io/combination_file.h"

namespace tambor {

struct UserLink {
    std::string title;
    std::string target;
    bool operator==(const UserLink&) const = default;
};
inline constexpr int kUserLinkCount = 3;

inline constexpr int kRecentFileCount = 5;

// Where the main window was last: its normal frame (left, top, size) and
// whether it was maximised. A width of 0: never stored.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const WindowPlace&) const = default;
};

inline constexpr int kDefaultDrawCountMin = 1;
inline constexpr int kDefaultDrawCountMax = 10000;

struct Options {
    SaveFormat saveFormat = SaveFormat::Csv;
    bool popupHint = false;  // pop-up hints shown
    bool escAction = false;  // ESC minimises to the tray
    bool useProxy = false;
    std::string proxyAddress;
    std::string proxyPort;  // as typed
    ProbabilityView probabilityView = ProbabilityView::Reciprocal;
    double horzMargin = 0.0;  // print margins in millimetres, kept per printer
    double vertMargin = 0.0;
    // The printer last chosen in the print dialog; empty: the system's
    // default. The margins above belong to the printer in use.
    std::string printerName;
    // The print options' lines of every other printer ("key=h, v"), absent
    // now or chosen before: written back as they were read, so a start
    // while a printer is off loses no calibration.
    std::vector<std::string> otherPrinterMargins;
    int defaultDrawCount = 50;  // kDefaultDrawCountMin..kDefaultDrawCountMax
    PriorityMode priorityMode = PriorityMode::PreferPairs;
    bool rSystem = false;
    ArrangeMode arrangeMode = ArrangeMode::Random;
    bool pastRemove = false;
    std::array<UserLink, kUserLinkCount> links{{{"追加１", "about:blank"}, {"追加２", "about:blank"}, {"追加３", "about:blank"}}};
    // The update server's folder; empty means the program's own address.
    std::string updateUrl;
    // The draw of lotodata.txt found to differ from the built-in history
    // ("ロト６,2078") that the user was told about, so that a file kept so
    // on purpose is not reported at every start; empty when none.
    std::string noticedHistoryConflict;
    // The filter conditions of each game set so far; a game without an
    // entry has every condition off (defaultFilterSettings).
    std::map<GameMode, FilterSettings> filters;
    // The files last opened or saved, newest first (at most kRecentFileCount).
    std::vector<std::string> recentFiles;
    WindowPlace window;

    bool operator==(const Options&) const = default;
};

}  // namespace tambor
