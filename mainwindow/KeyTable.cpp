#include "KeyTable.h"

#include <QKeyEvent>

namespace {

constexpr int Ctrl = 2;
constexpr int Alt = 4;
constexpr int Any = -1;
constexpr int BookingsTab = 0;
constexpr int PaymentTab = 1;
constexpr int VkAdd = 107;

std::vector<KeyRule> buildTable()
{
    std::vector<KeyRule> rules = {
        {false, 'C', Ctrl, BookingsTab, KeyAction::CopySlot, 0},
        {false, 'V', Ctrl, BookingsTab, KeyAction::PasteSlot, 0},
        {true, 'F', Alt, Any, KeyAction::Exit, 0},
        {true, VkAdd, Any, PaymentTab, KeyAction::Pay, 0},
        {true, 'P', Any, PaymentTab, KeyAction::Pay, 0},
    };
    const char courts[] = "POIUYTREW";
    for (int court = 0; court < 9; ++court)
        rules.push_back({true, courts[court], 0, BookingsTab, KeyAction::PickCourt, court});
    for (int key = VkF1; key <= VkF16; ++key)
        rules.push_back({true, key, Any, Any, KeyAction::StoreItem, 0});
    return rules;
}

} // namespace

const std::vector<KeyRule>& KeyTable()
{
    static const std::vector<KeyRule> table = buildTable();
    return table;
}

std::vector<KeyMatch> MatchKeys(bool onRelease, int keyCode, int shift, int tab)
{
    std::vector<KeyMatch> matches;
    for (const KeyRule& rule : KeyTable())
        if (rule.onRelease == onRelease && rule.keyCode == keyCode && (rule.shift == Any || rule.shift == shift) &&
            (rule.tab == Any || rule.tab == tab))
            matches.push_back({rule.action, rule.action == KeyAction::StoreItem ? keyCode : rule.argument});
    return matches;
}

int VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key == Qt::Key_Plus && event.modifiers().testFlag(Qt::KeypadModifier))
        return VkAdd;
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F16)
        return VkF1 + (key - Qt::Key_F1);
    return 0;
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}
