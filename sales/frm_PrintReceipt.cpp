#include "frm_PrintReceipt.h"
#include "Rates.h"
#include "SalesFormat.h"
#include "SlotPayment.h"

#include "SlotGrid.h"
#include "SlotInfo.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Numbering.h"
#include "Prompter.h"
#include "Settings.h"

#include "Vb.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>

namespace {

// The form is laid out in twips, 1/1440 inch, from the page's top left.
constexpr int Twips = 1440;
constexpr int HeaderTop = 2010;
constexpr int FirstRowTop = 2280;
constexpr int RowStep = 360;
constexpr int RowHeight = 285;

struct Column {
    int left;
    int width;
    Qt::Alignment align;
};
const Column Columns[] = {{375, 840, Qt::AlignHCenter},
                          {1290, 4830, Qt::AlignLeft},
                          {6255, 1785, Qt::AlignRight},
                          {8235, 1140, Qt::AlignRight},
                          {9555, 1545, Qt::AlignRight}};
const char* const Headers[] = {"Item", "Description", "Price / Unit", "Quantity", "Price"};

QFont font(const QString& family, int twips, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(twips);
    f.setBold(bold);
    return f;
}

void text(QPainter& p, const QRect& box, Qt::Alignment align, const QString& s)
{
    if (!(align & Qt::AlignVertical_Mask))
        align |= Qt::AlignVCenter;
    p.drawText(box, static_cast<int>(align), s);
}

QString rowText(const ReceiptLine& line, int column)
{
    switch (column) {
    case 0: return line.item;
    case 1: return line.description;
    case 2: return line.unitPrice;
    case 3: return line.quantity;
    default: return line.price;
    }
}

} // namespace

int ReceiptContent::PageCount() const
{
    return std::max<int>(1, (static_cast<int>(lines.size()) + LinesPerPage - 1) / LinesPerPage);
}

QString ReceiptNumberLine(int counter, int number)
{
    return "NO " + QString(QChar(64 + counter)) + " " + QString::number(number).rightJustified(4, '0');
}

void PrintStationReceipt(QPrinter& printer, int receipt)
{
    frm_PrintReceipt& form = frm_PrintReceipt::Default();
    form.GenerateReceiptContent(receipt);
    if (!form.PrintForm(printer))
        MsgBox("The receipt could not be printed: the printer cannot be written to.", Msg::Critical);
}

frm_PrintReceipt& frm_PrintReceipt::Default()
{
    static frm_PrintReceipt form;
    return form;
}

frm_PrintReceipt::frm_PrintReceipt()
{
    // A logo that is missing or unreadable is left out of the page.
    m_logo.load(QCoreApplication::applicationDirPath() + "/" + LogoPictureFile);
    for (int i = 0; i <= 4; ++i)
        m_address << ReadIni("Address", "address" + QString::number(i), {}, IniFile);
    for (int i = 0; i <= 3; ++i)
        m_contact << ReadIni("Contact", "contact" + QString::number(i), {}, IniFile);
}

void frm_PrintReceipt::fillHeader(int number)
{
    const QDateTime now = Now();
    m_content = ReceiptContent();
    m_content.title = Label2;
    m_content.address = m_address;
    m_content.contact = m_contact;
    m_content.issued = "Issued By: " + StaffLogin;
    m_content.time = "Time: " + now.toString("h:mm:ss AP");
    m_content.date = "Date: " + now.toString("dd/MM/yyyy");
    SetNumber(number);
}

void frm_PrintReceipt::GenerateReceiptContent(int ReceiptNumber)
{
    fillHeader(ReceiptNumber);
    m_content.amount = "$ " + GetReceiptTotal(ReceiptNumber).Format();
    Recordset rs = Db::Query("SELECT * FROM tbl_counter" + QString::number(CounterNumber) + " WHERE c_receipt ='" +
                             QString::number(ReceiptNumber) + "'");
    for (int i = 1; !rs.EOF_(); rs.MoveNext(), ++i)
        m_content.lines.push_back({QString::number(i), rs["c_item"].Value(),
                                   Money::Parse(rs["c_itemprice"].Value()).Format(),
                                   PlainNumber(rs["c_itemquantity"].Value()),
                                   Money::Parse(rs["c_itemtotal"].Value()).Format()});
}

void frm_PrintReceipt::SetNumber(int number) { m_content.numberLine = ReceiptNumberLine(CounterNumber, number); }

void frm_PrintReceipt::GenerateInvoiceContent(SlotGrid& grid, const QString& courtName)
{
    fillHeader(0);
    const QString date = grid.GridDate();
    const QDate day = QDate::fromString(date, "yyyy-MM-dd");
    const auto court = static_cast<int16_t>(Vb::CInt(grid.CourtText()));
    Money total;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (!grid.IsSelected(row))
            continue;
        const QString time = grid.RowTime(row);
        const QString rateClass = ShowSpecialRateInfo(grid, date, time);
        int16_t hour = Vb::CInt(time.left(2));
        const Money rate = CalcFieldRate(court, hour, WeekdayName(day), rateClass).value_or(Money());
        const SlotPrice price = PriceWithExtraTime(rate, ShowExtraTimeInfo(grid, date, time));
        m_content.lines.push_back({QString::number(m_content.lines.size() + 1),
                                   courtName + " " + day.toString("dd/MM/yyyy") + " " + time, rate.Format(),
                                   price.quantity, price.amount.Format()});
        total += price.amount;
    }
    m_content.amount = "$ " + total.Format();
}

bool frm_PrintReceipt::PrintForm(QPrinter& printer) const
{
    printer.setFullPage(true);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const double scale = printer.resolution() / double(Twips);
    const ReceiptContent& c = m_content;
    const int pages = c.PageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage())
            return false;
        p.resetTransform();
        p.scale(scale, scale);
        p.setPen(QPen(Qt::black, 15));

        if (!m_logo.isNull())
            p.drawImage(QRect(660, 645, 2505, 990), m_logo);
        p.setFont(font("Verdana", 170));
        text(p, QRect(3675, 660, 4900, 1250), Qt::AlignLeft | Qt::AlignTop, c.address.join('\n'));

        p.setFont(font("Verdana", 170, true));
        text(p, QRect(8500, 300, 2600, 260), Qt::AlignRight, "TOTAL AMOUNT");
        if (page == pages - 1) {
            p.setFont(font("MS Sans Serif", 300, true));
            text(p, QRect(8000, 580, 3100, 380), Qt::AlignRight, c.amount);
        }
        p.setFont(font("Verdana", 240, true));
        text(p, QRect(7600, 1005, 3500, 300), Qt::AlignRight, c.title);
        p.setFont(font("Verdana", 200));
        text(p, QRect(8400, 1320, 2700, 280), Qt::AlignRight, c.numberLine);

        p.setFont(font("Verdana", 160, true));
        for (int col = 0; col < 5; ++col)
            text(p, QRect(Columns[col].left, HeaderTop, Columns[col].width, RowHeight), Columns[col].align,
                 Headers[col]);
        const int bottom = FirstRowTop + ReceiptContent::LinesPerPage * RowStep;
        p.drawRect(QRect(330, HeaderTop - 45, 10800, bottom - HeaderTop + 45));
        p.drawLine(330, FirstRowTop - 15, 11130, FirstRowTop - 15);
        for (int col = 1; col < 5; ++col)
            p.drawLine(Columns[col].left - 30, HeaderTop - 45, Columns[col].left - 30, bottom);

        p.setFont(font("Verdana", 160));
        const int first = page * ReceiptContent::LinesPerPage;
        const int last = std::min<int>(first + ReceiptContent::LinesPerPage, static_cast<int>(c.lines.size()));
        for (int i = first; i < last; ++i) {
            const int top = FirstRowTop + (i - first) * RowStep + 30;
            for (int col = 0; col < 5; ++col)
                text(p, QRect(Columns[col].left + 30, top, Columns[col].width - 60, RowHeight), Columns[col].align,
                     rowText(c.lines[static_cast<size_t>(i)], col));
        }

        p.setFont(font("Verdana", 160));
        text(p, QRect(405, 6885, 6000, 1000), Qt::AlignLeft | Qt::AlignTop, c.contact.join('\n'));
        text(p, QRect(8775, 6915, 2400, 260), Qt::AlignLeft, c.issued);
        text(p, QRect(8775, 7200, 2400, 260), Qt::AlignLeft, c.time);
        text(p, QRect(8775, 7470, 2400, 260), Qt::AlignLeft, c.date);
    }
    return p.end();
}
