#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The statements of one register table (tbl_member, tbl_student or a tbl_specialgroup<n>). Every
// typed text is quoted in the statement only. The list is ordered by ID number and then by key, so
// that equal ID numbers keep one order.
class RegisterTable {
public:
    // Column positions 0 to 5: key, ID number, name, hours, organisation, telephone.
    using Record = std::array<QString, 6>;
    struct ListRow {
        long long key;
        QString idno;
        QString name;
        QString tel;
    };

    RegisterTable(QString table, QString prefix);

    // Every row, as the list shows it.
    std::vector<ListRow> List() const;
    // The row of key as it is now; none when it is gone.
    std::optional<Record> RecordOf(long long key) const;
    void Insert(const Record& record, long long hours) const;
    // Writes the row of record's key; the hours only when given, so that hours added by a payment
    // since the record was shown stay.
    enum class Updated { Written, NoKey, Gone };
    Updated Update(const Record& record, std::optional<long long> hours) const;
    void Delete(long long key) const;

    // The most characters each text column holds, by column position; 0 where the table's own
    // definition sets no limit (the key and the hours). A centre's own group table may be narrower
    // than the standard one, and without strict mode the server would cut longer texts silently.
    std::array<int, 6> TextWidths() const;

    // Typed hours as a whole number; an empty box is 0, anything but digits is none.
    static std::optional<long long> Hours(const QString& typed);
    // Stored hours as shown: "12.00" is "12".
    static QString HoursText(const QString& stored);
    // The key of a record's key box, none when it holds no number.
    static std::optional<long long> Key(const QString& box);

private:
    QString texts(const Record& record) const;

    QString m_table;
    QString m_prefix;
};
