#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPainter>
#include <vector>

#include "ImageWindow.h"
#include "Prompts.h"
#include "Window.h"

using namespace quenlix;

namespace {

class Recorder : public Window {
public:
    struct Call { unsigned msg; WPARAM w; LPARAM l; };
    std::vector<Call> calls;
    std::vector<int> ticks;
    int stopAfter = -1;

    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        calls.push_back({msg, w, l});
        return static_cast<LRESULT>(w) * 10;
    }

protected:
    void OnTimer(int id) override {
        ticks.push_back(id);
        if (static_cast<int>(ticks.size()) == stopAfter) KillTimer(id);
    }
};

void SpinEventLoop(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

TEST(Window, SendMessageIsSynchronousAndReturnsTheAnswer) {
    Recorder target;
    EXPECT_EQ(SendMessage(&target, WM_OPEN_TAB, 3, -7), 30);
    ASSERT_EQ(target.calls.size(), 1u);
    EXPECT_EQ(target.calls[0].msg, 0x0400u + 2024u);
    EXPECT_EQ(target.calls[0].l, -7);
    EXPECT_EQ(SendMessage(nullptr, WM_OPEN_TAB, 3, 0), 0);
}

TEST(Window, TimersFireByIdAndStopWhenKilled) {
    Recorder w;
    w.stopAfter = 3;
    w.SetTimer(7, 5);
    SpinEventLoop(80);
    EXPECT_EQ(w.ticks, (std::vector<int>{7, 7, 7}));
    EXPECT_FALSE(w.HasTimer(7));

    // Restarting an id replaces its timer instead of adding a second one.
    w.ticks.clear();
    w.stopAfter = -1;
    w.SetTimer(2, 20);
    w.SetTimer(2, 20);
    SpinEventLoop(50);
    w.KillTimer(2);
    EXPECT_LE(w.ticks.size(), 3u);
    EXPECT_GE(w.ticks.size(), 1u);
    w.KillTimer(99);  // unknown id: nothing happens
}

namespace {
class ScriptedPrompts : public Prompts {
public:
    int modalRuns = 0;
    QString opened;
    int RunModal(QDialog& d) override {
        ++modalRuns;
        d.setResult(QDialog::Accepted);
        return QDialog::Accepted;
    }
    void OpenDocument(const QString& path) override { opened = path; }
};
}  // namespace

TEST(Prompts, AnInstalledReplacementAnswersUntilRemoved) {
    ScriptedPrompts scripted;
    InstallPrompts(&scripted);
    QDialog dialog;
    EXPECT_EQ(CurrentPrompts().RunModal(dialog), QDialog::Accepted);
    CurrentPrompts().OpenDocument("x.pdf");
    InstallPrompts(nullptr);
    EXPECT_EQ(scripted.modalRuns, 1);
    EXPECT_EQ(scripted.opened, "x.pdf");
    EXPECT_NE(&CurrentPrompts(), &scripted);
}

namespace {
class Filler : public ImageWindow {
public:
    int paints = 0;
protected:
    void OnPaint(QImage& surface) override {
        ++paints;
        surface.fill(QColor(10, 20, 30));
        QPainter(&surface).fillRect(0, 0, 2, 2, Qt::white);
    }
};
}  // namespace

TEST(ImageWindow, DrawsAnOpaqueImageOfTheWindowSize) {
    Filler w;
    w.resize(40, 30);
    const QImage& first = w.Render();
    EXPECT_EQ(first.size(), QSize(40, 30));
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    EXPECT_EQ(first.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(first.pixelColor(20, 20), QColor(10, 20, 30));
    const uchar* bits = first.constBits();
    w.Render();
    EXPECT_EQ(w.Render().constBits(), bits) << "the image is reused while the size stays";
    EXPECT_EQ(w.paints, 3);
}
