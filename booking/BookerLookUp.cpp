#include "BookerLookUp.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "SqlQuote.h"

#include <QLineEdit>
#include <QPushButton>

QPushButton* BookerLookUp::RegisterButton(const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(">", parent);
    button->setObjectName(name);
    button->setFixedWidth(28);
    return button;
}

BookerLookUp::BookerLookUp(const Boxes& boxes, int idMinimum, int groupIdMinimum)
    : m_boxes(boxes), m_idMinimum(idMinimum), m_groupIdMinimum(groupIdMinimum)
{
}

std::vector<QLineEdit*> BookerLookUp::groupBoxesExcept(int group) const
{
    std::vector<QLineEdit*> boxes;
    for (int i = 1; i <= SpecialGroupLimit; ++i)
        if (m_boxes.groups[static_cast<size_t>(i)] && i != group)
            boxes.push_back(m_boxes.groups[static_cast<size_t>(i)]);
    return boxes;
}

void BookerLookUp::lookUp(QLineEdit* idBox, int minimum, const Register& reg, std::vector<QLineEdit*> toEmpty,
                          QString& rate) const
{
    if (idBox->text().size() < minimum)
        return;
    try {
        CurrentTask = "looking up the booker";
        for (Recordset rs = Db::Query("SELECT * FROM " + reg.table + " WHERE " + reg.keyColumn + "='" +
                                      SqlQuote(idBox->text()) + "'");
             !rs.EOF_(); rs.MoveNext()) {
            rate = reg.rate;
            m_boxes.name->setText(rs[reg.prefix + "name"].Value());
            m_boxes.org->setText(rs[reg.prefix + "org"].Value());
            m_boxes.tel->setText(rs[reg.prefix + "tel"].Value());
            for (QLineEdit* other : toEmpty)
                other->clear();
        }
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void BookerLookUp::MemberChanged(QString& rate) const
{
    std::vector<QLineEdit*> others = groupBoxesExcept(0);
    others.insert(others.begin(), m_boxes.student);
    lookUp(m_boxes.member, m_idMinimum, {"tbl_member", "m_idno", "m_", "member"}, others, rate);
}

void BookerLookUp::StudentChanged(QString& rate) const
{
    std::vector<QLineEdit*> others = groupBoxesExcept(0);
    others.insert(others.begin(), m_boxes.member);
    lookUp(m_boxes.student, m_idMinimum, {"tbl_student", "st_idno", "st_", "student"}, others, rate);
}

void BookerLookUp::GroupChanged(int group, QString& rate) const
{
    if (group < 1 || group > SpecialGroupLimit || !m_boxes.groups[static_cast<size_t>(group)])
        return;
    std::vector<QLineEdit*> others = groupBoxesExcept(group);
    others.insert(others.begin(), {m_boxes.student, m_boxes.member});
    const QString n = QString::number(group);
    lookUp(m_boxes.groups[static_cast<size_t>(group)], m_groupIdMinimum,
           {"tbl_specialgroup" + n, "m_idno", "m_", "specialgroup" + n}, others, rate);
}

void BookerLookUp::OpenPersonRegister(int index, RegisterForm::Opener opener, QWidget* owner) const
{
    RegisterForm& reg = index == 0 ? frm_Members() : frm_Students();
    reg.LookUp(opener, index == 0 ? m_boxes.member : m_boxes.student, owner);
}

void BookerLookUp::OpenGroupRegister(int group, RegisterForm::Opener opener, QWidget* owner) const
{
    if (group < 1 || group > SpecialGroupLimit || !m_boxes.groups[static_cast<size_t>(group)])
        return;
    frm_Members_Dynamic().TableIndex = group;
    frm_Members_Dynamic().LookUp(opener, m_boxes.groups[static_cast<size_t>(group)], owner);
}

void BookerLookUp::SetTabOrder(const std::vector<QWidget*>& then, const std::array<QPushButton*, 2>& personRegisters,
                               const std::array<QPushButton*, SpecialGroupLimit + 1>& groupRegisters) const
{
    std::vector<QWidget*> chain = {m_boxes.name, m_boxes.member, m_boxes.student};
    for (QLineEdit* group : m_boxes.groups)
        if (group)
            chain.push_back(group);
    chain.insert(chain.end(), {m_boxes.tel, m_boxes.org});
    chain.insert(chain.end(), then.begin(), then.end());
    chain.insert(chain.end(), personRegisters.begin(), personRegisters.end());
    for (QPushButton* look : groupRegisters)
        if (look)
            chain.push_back(look);
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QString BookerLookUp::RateAtOk(const QString& rate) const
{
    const auto emptied = [](const QLineEdit* box) { return box && box->text().trimmed().isEmpty(); };
    if (rate == "member" && emptied(m_boxes.member))
        return {};
    if (rate == "student" && emptied(m_boxes.student))
        return {};
    for (int i = 1; i <= SpecialGroupLimit; ++i)
        if (rate == "specialgroup" + QString::number(i) && emptied(m_boxes.groups[static_cast<size_t>(i)]))
            return {};
    return rate;
}
