#include "SalesFixture.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"

#include <QPrinter>
#include <QProcess>

PdfPrinter::PdfPrinter() { SetPrinterChoice(this); }

PdfPrinter::~PdfPrinter() { SetPrinterChoice(nullptr); }

QString PdfPrinter::Path(int n) const { return m_dir.path() + "/print" + QString::number(n) + ".pdf"; }

std::unique_ptr<QPrinter> PdfPrinter::Choose(QWidget*)
{
    if (cancel)
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(unwritable ? m_dir.path() + "/missing/print.pdf" : Path(++printed));
    return printer;
}

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString PdfText(const QString& pdf, int page)
{
    QStringList args{"-layout"};
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run("pdftotext", args << pdf << "-");
}

int PdfPages(const QString& pdf)
{
    for (const QString& line : run("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return 0;
}

void SalesTest::SetUp()
{
    PrivateDatabase::Reload(true);
    ::ConnectionString = PrivateDatabase::ConnectionString();
    CounterNumber = 1;
    CurrentTask.clear();
    windows.writeIni("[SpecialGroup]\r\n 1=Schools\r\n[Address]\r\naddress0=Riverside Sports Centre\r\n"
                     "address1=12 Quay Road\r\naddress3=Harbour Town\r\n[Contact]\r\ncontact0=Tel 555-0100\r\n");
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
    UseTestCentre();
    // The grid's hour rows follow the centre's opening hours.
    grid = TestGrid("2026-12-08", 3);
    StaffLogin = "counter";
    SpecialGroupCount = 5;
    Db::Execute("DELETE FROM tbl_rate");
    Db::Execute("INSERT INTO tbl_rate (r_day, r_field, r_special, r_timestart, r_timestop, r_rate) "
                "SELECT d, f, s, 0, 23, IF(s='specialgroup1', 20, 40) FROM "
                "(SELECT 'Tuesday' d UNION SELECT 'Wednesday') days, (SELECT seq f FROM seq_0_to_15) courts, "
                "(SELECT '' s UNION SELECT 'member' UNION SELECT 'student' UNION SELECT 'specialgroup1') classes");
}

void SalesTest::TearDown() { ResetNow(); }

void SalesTest::book(const QString& time, const QString& columns, int court)
{
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 " + time + ":00', b_field=" +
                QString::number(court) + ", " + columns);
}

CartLine SalesTest::shopLine(const QString& name, const QString& type, int cents, int quantity)
{
    CartLine line;
    line.kind = CartLine::Kind::ShopItem;
    line.text = name;
    line.tag = type;
    line.unitPrice = Money::FromCents(cents);
    line.quantity = QString::number(quantity);
    line.amount = Money::FromCents(static_cast<int64_t>(cents) * quantity);
    return line;
}
