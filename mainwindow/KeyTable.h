#pragma once

#include <Qt>
#include <vector>

class QKeyEvent;

// The main window's keyboard shortcuts as a plain table: which key, with which shift state, on
// which tab, does what. Key codes and shift states are those of the window system the counter's
// staff learnt them on (virtual-key codes; shift bits 1 Shift, 2 Ctrl, 4 Alt).
enum class KeyAction { CopySlot, PasteSlot, Exit, Pay, PickCourt, StoreItem };

struct KeyRule {
    bool onRelease;
    int keyCode;
    int shift; // -1: any shift state
    int tab;   // -1: any tab
    KeyAction action;
    int argument; // the court of PickCourt
};

const std::vector<KeyRule>& KeyTable();

struct KeyMatch {
    KeyAction action;
    int argument; // the court of PickCourt, the key code of StoreItem
};
// Every row that fires for the key, in table order.
std::vector<KeyMatch> MatchKeys(bool onRelease, int keyCode, int shift, int tab);

// The virtual-key code of a Qt key event (0 for a key without one) and its shift state.
int VirtualKeyOf(const QKeyEvent& event);
int ShiftStateOf(Qt::KeyboardModifiers modifiers);

constexpr int VkF1 = 112;
constexpr int VkF16 = 127;
