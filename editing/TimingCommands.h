#pragma once

class SlotGrid;

// The slot menu's commands that put a slot's timing back or set its length. A length longer than the
// present one must leave room to the slot after it, counted from the slot's own start minute.
class TimingCommands {
public:
    // "Clear extra time": the focused slot plays 60 minutes, recorded as "extra time". A slot that
    // shrinks cannot meet another, so only a longer one is tested; a marker row is refused.
    static void ClearExtraTime(SlotGrid& grid);
    // "Start at beginning of the slot": every selected slot starts on the hour; a slot that cannot
    // (the slot before runs into its hour) is passed over without a word.
    static void StartAtBeginning(SlotGrid& grid);
    // "Set Duration for 15/30/45 minutes", "Clear custom duration" (60): the focused slot plays
    // minutes, recorded as "shorten slot".
    static void SetDuration(SlotGrid& grid, int minutes);
};
