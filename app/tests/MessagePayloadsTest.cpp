#include <gtest/gtest.h>

#include <QString>
#include <concepts>
#include <vector>

#include "MessagePayloads.h"

using namespace quenlix;

namespace {

// Whether the helpers accept a T for msg in that parameter.
template <unsigned Msg, typename T>
concept SendsInWParam = requires(Window* target, const T& payload) {
    SendWithWParam<Msg>(target, payload, LPARAM{0});
};
template <unsigned Msg, typename T>
concept SendsInLParam = requires(Window* target, const T& payload) {
    SendWithLParam<Msg>(target, WPARAM{0}, payload);
};
template <unsigned Msg>
concept ReadsLParam = requires(LPARAM l) { LParamData<Msg>(l); };

// Each message takes its own payload type in its own parameter, and nothing else.
static_assert(CanSend<WM_RENAME_TAB, QString>);
static_assert(!CanSend<WM_RENAME_TAB, double>);
static_assert(!SendsInLParam<WM_RENAME_TAB, const char*>, "no conversion to the payload type");
static_assert(!SendsInWParam<WM_RENAME_TAB, QString>, "the title travels in lParam");
static_assert(SendsInLParam<WM_INTEGRATION_TIME_SHOWN, double>);
static_assert(!SendsInLParam<WM_INTEGRATION_TIME_SHOWN, float>);
static_assert(!SendsInLParam<WM_INTEGRATION_TIME_SHOWN, int>);
static_assert(SendsInLParam<WM_PAGE_COMMAND, double> && SendsInLParam<WM_PAGE_PARAMETER, double>);
static_assert(SendsInWParam<WM_STATIC_SPECTRUM_TOGGLED, QString>);
static_assert(!SendsInLParam<WM_STATIC_SPECTRUM_TOGGLED, QString>);
static_assert(SendsInWParam<WM_CHOSEN_SOURCES, std::vector<int>> && SendsInLParam<WM_CHOSEN_SOURCES, std::vector<int>>);
static_assert(!CanSend<WM_CHOSEN_SOURCES, std::vector<long>>);
static_assert(!CanSend<WM_CLOSE_TAB, int> && !ReadsLParam<WM_CLOSE_TAB>, "a message without a payload");
static_assert(std::same_as<decltype(LParamData<WM_RENAME_TAB>(0)), const QString*>);

class Receiver : public Window {
public:
    QString title;
    std::vector<int> devices;
    std::vector<int> statics;
    LRESULT OnMessage(unsigned msg, WPARAM w, LPARAM l) override {
        if (msg == WM_RENAME_TAB) title = *LParamData<WM_RENAME_TAB>(l);
        if (msg == WM_CHOSEN_SOURCES && w) devices = *WParamData<WM_CHOSEN_SOURCES>(w);
        if (msg == WM_CHOSEN_SOURCES && l) statics = *LParamData<WM_CHOSEN_SOURCES>(l);
        return static_cast<LRESULT>(w);
    }
};

TEST(MessagePayloads, ArriveIntactInTheirParameter) {
    Receiver receiver;
    EXPECT_EQ(SendWithLParam<WM_RENAME_TAB>(&receiver, 7, QStringLiteral("Ruby")), 7);
    EXPECT_EQ(receiver.title, "Ruby");
    SendWithWParam<WM_CHOSEN_SOURCES>(&receiver, std::vector<int>{0, 2}, 0);
    SendWithLParam<WM_CHOSEN_SOURCES>(&receiver, 0, std::vector<int>{5});
    EXPECT_EQ(receiver.devices, (std::vector<int>{0, 2}));
    EXPECT_EQ(receiver.statics, std::vector<int>{5});
    EXPECT_EQ(LParamData<WM_INTEGRATION_TIME_SHOWN>(0), nullptr);
}

}  // namespace
