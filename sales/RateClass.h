#pragma once

#include <QString>

class SlotGrid;

// The rate class of a slot, kept in b_specialrate: "member", "" for the normal rate, "student", or
// "specialgroup" and the group's number. The slot payment prices an hour by it.
inline const QString MemberClass = QStringLiteral("member");
inline const QString NormalClass;
inline const QString StudentClass = QStringLiteral("student");
QString SpecialGroupClass(int group);

// How the audit row names a class: "normal", the special group's display name, or the class itself.
QString RateClassWord(const QString& rateClass);

// Gives the booked, unpaid slot of court at date and time the class, with its "change rate" audit
// row naming the booker and the class, in one transaction that judges the slot as it stands now.
// shownName and shownTelephone are the booker and telephone the grid showed (the audit row names
// them), gridCourt the court the audit row is filed under, actionTime the clock caption. A slot that
// holds another booker by now, holds no booking of its own or was paid meanwhile is refused with a
// message, and nothing is written; tells whether the change was made. Database failures throw.
bool SetMembershipStatus(const QString& date, const QString& time, int court, const QString& shownName,
                         const QString& shownTelephone, const QString& rateClass, int gridCourt,
                         const QString& actionTime);

// The slot menu's "Set this slot as ..." items: the focused row must hold an unpaid booking of its
// own, and the verified user must be an administrator; then its class is changed and the grid is
// left as it is (it does not show the class). The slot clipboard is not touched.
void SetSlotRateClass(SlotGrid& grid, const QString& rateClass);
