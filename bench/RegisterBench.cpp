// Speed of the member register's search on a register of 100,000 members, run by hand:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build && build/bench/register_bench
// The members are generated once into a database of their own, posdb_registers_bench, whose table is
// made like posdb's (load posdb first: tools/db load).

#include "BenchSupport.h"
#include "RegisterForm.h"
#include "RegisterWindow.h"

#include "Db.h"
#include "Globals.h"
#include "Settings.h"
#include "VbError.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int Members = 100000;

void prepareMembers()
{
    try {
        if (Db::Query("SELECT COUNT(*) FROM tbl_member").Fields(0).Integer() == Members)
            return;
    } catch (const VbError&) {
    }
    qInfo("generating %d members into posdb_registers_bench ...", Members);
    Db::Execute("DROP TABLE IF EXISTS tbl_member");
    Db::Execute("CREATE TABLE tbl_member LIKE posdb.tbl_member");
    Db::Execute("INSERT INTO tbl_member (m_idno, m_name, m_hour, m_org, m_tel) "
                "SELECT CONCAT('M', LPAD(seq, 6, '0')), CONCAT(ELT(1 + seq % 20, 'Anna', 'Sean', 'Priya', 'Tomas', "
                "'Mei', 'Lars', 'Olga', 'Jamal', 'Chen', 'Fatima', 'Diego', 'Ingrid', 'Kofi', 'Yuki', 'Pablo', "
                "'Nadia', 'Ravi', 'Elena', 'Omar', 'Sofia'), ' ', ELT(1 + (seq DIV 20) % 25, 'Lindqvist', "
                "'O''Brien', 'Raman', 'Novak', 'Chen', 'Berg', 'Ivanova', 'Khan', 'Wu', 'Haddad', 'Garcia', 'Olsen', "
                "'Mensah', 'Tanaka', 'Ruiz', 'Petrova', 'Sharma', 'Rossi', 'Farouk', 'Moreau', 'Smith', 'Jones', "
                "'Brown', 'Taylor', 'Wilson'), ' ', seq DIV 500), seq % 40, "
                "ELT(1 + seq % 4, '', 'Riverside FC', 'Harbour Rovers', 'City College'), "
                "CONCAT('555-', LPAD(seq % 10000, 4, '0')) FROM seq_1_to_100000");
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// From the text typed into the search box to the list filled and painted, as the user sees it.
void search(benchmark::State& state, const QStringList& texts)
{
    frm_Members().isFromBookerForm = false;
    RegisterWindow window(frm_Members(), RegisterTable("tbl_member", "m_"), nullptr);
    window.show();
    QApplication::processEvents();
    std::vector<double> times;
    long found = 0;
    int n = 0;
    for (auto _ : state) {
        const QString& text = texts[n++ % texts.size()];
        window.txt_SearchMemberName->clear();
        QElapsedTimer t;
        t.start();
        window.txt_SearchMemberName->setText(text);
        window.ListView_Member->viewport()->repaint();
        const double ms = t.nsecsElapsed() / 1e6;
        times.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        found += window.ListView_Member->model()->rowCount();
    }
    state.counters["median_ms"] = median(times);
    state.counters["rows_found"] = static_cast<double>(found) / static_cast<double>(times.size());
}

// What a user types to find one member: a surname, a first name and surname, a part of a name.
void BM_SearchByName(benchmark::State& state)
{
    search(state, {"Lindqvist 12", "O'Brien 7", "Novak", "Priya Raman", "Tanaka 1", "Sofia Wil", "Haddad 19"});
}

// The first letter typed, which matches most of the register.
void BM_SearchOneLetter(benchmark::State& state) { search(state, {"a"}); }

BENCHMARK(BM_SearchByName)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(210);
BENCHMARK(BM_SearchOneLetter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    BenchRun run(argc, argv);
    ConnectionString = BuildConnectionString("127.0.0.1", BenchEnv("PALLOWIN_DB_PORT", "3417"),
                                             BenchEnv("PALLOWIN_DB_USER", "pallowin"), BenchEnv("PALLOWIN_DB_PASSWORD", "pallowin"));
    Db::Execute("CREATE DATABASE IF NOT EXISTS posdb_registers_bench CHARACTER SET utf8mb4");
    ConnectionString.replace("DATABASE=posdb;", "DATABASE=posdb_registers_bench;");
    prepareMembers();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
