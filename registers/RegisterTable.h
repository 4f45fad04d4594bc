#pragma once

#include <QString>

#include <array>
#include <optional>
#include <vector>

// The statements of one register table (tbl_member, tbl_student or a tbl_specialgroup<n>). Every
// typed text is quoted in the statement only; in the search text % and _ keep their wildcard
// meaning. The search result is ordered by ID number and then by key, so that a position always
// names the same row and list row n is position n.
class RegisterTable {
public:
    // Column positions 0 to 5: key, ID number, name, hours, organisation, telephone.
    using Record = std::array<QString, 6>;
    struct ListRow {
        QString idno;
        QString name;
        QString tel;
    };
    struct Found {
        std::optional<Record> record;  // none past the end of the result
        long count = 0;                // rows of the search result
    };

    RegisterTable(QString table, QString prefix);

    const QString& Name() const { return m_table; }

    std::vector<ListRow> List(const QString& search) const;
    // The row at 1-based position within the search result.
    Found RecordAt(const QString& search, long position) const;
    void Insert(const Record& record, long long hours) const;
    // Writes the row of record's key; the hours only when given, so that hours added by a payment
    // since the record was shown stay. Returns whether the key was a key at all.
    bool Update(const Record& record, std::optional<long long> hours) const;
    void Delete(long long key) const;

    // Typed hours as a whole number; an empty box is 0, anything but digits is none.
    static std::optional<long long> Hours(const QString& typed);
    // Stored hours as shown: "12.00" is "12".
    static QString HoursText(const QString& stored);
    // The key of a record's key box, none when it holds no number.
    static std::optional<long long> Key(const QString& box);

private:
    QString where(const QString& search) const;
    QString order() const;
    QString texts(const Record& record) const;

    QString m_table;
    QString m_prefix;
};
