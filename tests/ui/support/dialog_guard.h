#pragma once
// The base of every window test: the application set up as the program sets
// it up, and dialogs made strict. A message box or file dialog that the test
// did not answer in advance fails the test instead of showing (or silently
// cancelling), and answers left over by one test never reach the next.

#include <QObject>

namespace tambor::ui::testing {

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
};

// The strict handler WindowTest installs; tests of the seam itself swap it
// out for a moment and put it back with this.
void installStrictDialogs();

}  // namespace tambor::ui::testing
