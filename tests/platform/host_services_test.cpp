#include <gtest/gtest.h>

#include "platform/keyboard.h"
#include "platform/message_box.h"
#include "platform/window_registry.h"

using namespace plat;

namespace {

TEST(Keyboard, DownNowAndPressedSinceLastQuery) {
    const int g = vk::letter('g');
    EXPECT_EQ(g, 0x47);
    EXPECT_FALSE(key_down(g));
    set_key_state(g, true);
    EXPECT_TRUE(key_down(g));
    set_key_state(g, false);
    EXPECT_FALSE(key_down(g));
    EXPECT_TRUE(key_pressed_since_last_query(g)) << "a tap between two queries is not lost";
    EXPECT_FALSE(key_pressed_since_last_query(g));
    set_key_state(vk::tab, true);
    set_key_state(vk::tab, true);  // auto-repeat is one press
    EXPECT_TRUE(key_pressed_since_last_query(vk::tab));
    EXPECT_FALSE(key_pressed_since_last_query(vk::tab));
    release_all_keys();
    EXPECT_FALSE(key_down(vk::tab));
    EXPECT_FALSE(key_down(-1));
    EXPECT_FALSE(key_down(256));
}

TEST(Keyboard, NamesResolveToWindowsCodes) {
    EXPECT_EQ(key_code_from_name("TAB"), 0x09);
    EXPECT_EQ(key_code_from_name("g"), 0x47);
    EXPECT_EQ(key_code_from_name("9"), 0x39);
    EXPECT_EQ(key_code_from_name("F10"), 0x79);
    EXPECT_EQ(key_code_from_name("0x6B"), 0x6B);
    EXPECT_EQ(key_code_from_name("numpad5"), 0x65);
    EXPECT_FALSE(key_code_from_name("F99"));
    EXPECT_FALSE(key_code_from_name("0x1FF"));
    EXPECT_FALSE(key_code_from_name("NOPE"));
}

TEST(MessageBoxes, AreRecordedWithoutBlocking) {
    clear_message_log();
    show_message_box("flightdisplay", "DirectDraw error", "PFD", MessageIcon::error);
    show_message_box("", "Sound-File not found\n", "Soundlib-Error ", MessageIcon::warning);
    auto log = message_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].owner, "flightdisplay");
    EXPECT_EQ(log[0].caption, "PFD");
    EXPECT_EQ(static_cast<unsigned>(log[0].icon), 0x10u);
    EXPECT_EQ(log[1].text, "Sound-File not found\n");
    EXPECT_EQ(static_cast<unsigned>(log[1].icon), 0x30u);
    clear_message_log();
    EXPECT_TRUE(message_log().empty());
}

TEST(Windows, FoundByClassAndTitle) {
    register_window(7, "FS98MAIN", "Flight Simulator");
    register_window(8, "PanelWindow", "Window44");
    EXPECT_EQ(find_window("FS98MAIN", ""), 7u);
    EXPECT_EQ(find_window("", "Window44"), 8u);
    EXPECT_EQ(find_window("FS98MAIN", "Window44"), 0u);
    EXPECT_EQ(window_title(7), "Flight Simulator");
    unregister_window(7);
    EXPECT_EQ(find_window("FS98MAIN", ""), 0u);
    EXPECT_FALSE(window_title(7));
}

}  // namespace
