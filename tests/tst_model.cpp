// SPDX-License-Identifier: MIT
// Random sequences of what a user and the world do to the bar, checked
// after every step against a model of the group files: each file holds the
// model's bytes, or after a failed save the bytes it held before, and no
// line goes that the user did not delete. RapidCheck shrinks a failing
// sequence; replay one with RC_PARAMS="seed=N" (the seed is printed first).
#include "app/Unit1.h"
#include "core/entries/PathRules.h"
#include "core/files/SaveLeftovers.h"
#include "core/files/SystemReason.h"
#include "BarFixture.h"
#include "GroupSetProbe.h"
#include "BarProbe.h"
#include "FaultInjection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {

// The files entries name, in the home's "files" folder; some vanish and
// come back during a run.
constexpr int kFiles = 6;

QString entryFile(const QString &home, int k)
{
    // A space and non-ASCII letters, so the lines are not all plain.
    static const char16_t *const names[kFiles] = {u"a.txt", u"b c.txt", u"文書.txt", u"d", u"e.sh", u"f,g.txt"};
    return home + u"files/"_s + QString::fromUtf16(names[k]);
}

// One line of a group file: an entry, or a line the bar cannot read.
struct Line {
    QString text;
    std::optional<TRec> rec; // none for a kept line
};

struct Model {
    QString home;
    // Each group file's lines; none while there is no file.
    std::array<std::optional<QList<Line>>, kGroupCount> disk;
    int current = 0;
    QList<Line> shown; // the current group as the bar holds it
    std::array<bool, kFiles> present{};

    // Where the entries stand among all lines.
    QList<qsizetype> entryPlaces() const
    {
        QList<qsizetype> places;
        for (qsizetype i = 0; i < shown.size(); ++i) {
            if (shown[i].rec)
                places.append(i);
        }
        return places;
    }
    qsizetype entryCount() const { return entryPlaces().size(); }
    void load() { shown = disk[current].value_or(QList<Line>()); }
};

QByteArray bytesOf(const QList<Line> &lines)
{
    QByteArray bytes;
    for (const Line &line : lines)
        bytes += line.text.toUtf8() + "\r\n";
    return bytes;
}

Line entryLine(const TRec &rec)
{
    return {joinEntryLine(rec), rec};
}

// A save's fault, aimed at the current group file's temporary.
struct Fault {
    FaultInjection::Call call;
    // The save goes through all the same: a short write is written again.
    bool harmless() const { return call == FaultInjection::Call::ShortWrite; }
};

std::ostream &operator<<(std::ostream &os, const std::optional<Fault> &fault)
{
    static const char *const names[] = {"write", "short write", "fdatasync", "fsync", "fchmod", "close"};
    if (fault)
        os << " with " << names[static_cast<int>(fault->call)] << " failing";
    return os;
}

rc::Gen<std::optional<Fault>> genFault()
{
    using FaultInjection::Call;
    // The folder's sync comes after the rename, so it would fail a save
    // whose new file is already in place: left out.
    return rc::gen::weightedOneOf<std::optional<Fault>>({
        {3, rc::gen::just(std::optional<Fault>())},
        {1, rc::gen::map(rc::gen::element(Call::Write, Call::ShortWrite, Call::Fdatasync, Call::Fchmod, Call::Close),
                         [](Call call) { return std::optional<Fault>(Fault{call}); })},
    });
}

class Bar : public BarFixture
{
public:
    Bar()
    {
        RC_ASSERT(setUp());
        RC_ASSERT(QDir(home()).mkpath(u"files"_s));
        for (int k = 0; k < kFiles; ++k)
            RC_ASSERT(writeBytes(entryFile(home(), k), "#!/bin/sh\n"));
        start();
    }
    ~Bar()
    {
        form.reset();
        tearDown();
    }
    // The steps start on a bar the user sees: painted, with buttons for
    // the rows in sight.
    void start()
    {
        form = std::make_unique<TForm1>(home());
        QSignalSpy painted(form.get(), &TForm1::firstPainted);
        form->show();
        RC_ASSERT(painted.wait(10000));
    }

    std::unique_ptr<TForm1> form;
    qsizetype seen = 0; // messages already accounted for

    const QStringList &shown() const { return m_shown; }
};

using Command = rc::state::Command<Model, Bar>;

// Everything the bar and its files must show for the model `m`; `loaded`
// when the step read the current group anew, so its buttons show which
// files are there.
void check(const Model &m, Bar &bar, bool loaded)
{
    TForm1 &form = *bar.form;
    RC_ASSERT(form.MenuIndex() == m.current);
    for (int g = 0; g < kGroupCount; ++g) {
        const QByteArray expected = m.disk[g] ? bytesOf(*m.disk[g]) : QByteArray("<missing>");
        const QByteArray actual = readBytes(BarProbe::groupPath(form, g));
        RC_ASSERT(actual.toStdString() == expected.toStdString());
    }
    QStringList texts;
    for (const Line &line : m.shown)
        texts.append(line.text);
    RC_ASSERT(form.currentGroup().fileLines() == texts);

    const QList<LaunchButton *> &buttons = BarProbe::LaunchBtn(form);
    const QList<qsizetype> places = m.entryPlaces();
    RC_ASSERT(buttons.size() == places.size());
    for (qsizetype i = 0; i < places.size(); ++i) {
        // A row far out of sight has no button until it comes into sight.
        if (!buttons[i])
            continue;
        const QString file = m.shown[places[i]].rec->fname;
        RC_ASSERT(buttons[i]->filePath() == file);
        if (loaded)
            RC_ASSERT(buttons[i]->isFileMissing() == !QFileInfo::exists(file));
    }
    // A save leaves no temporary file behind, failed or not.
    const QStringList names = QDir(bar.home()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names)
        RC_ASSERT(!name.contains(u".saving-"_s));
}

// Whether `fault` is taken by a save of the current group in `m`: an empty
// file has no write, and a new file no mode to keep.
bool takes(const std::optional<Fault> &fault, const Model &m)
{
    using FaultInjection::Call;
    if (!fault)
        return false;
    if (fault->call == Call::Write || fault->call == Call::ShortWrite)
        return !m.shown.isEmpty();
    return fault->call != Call::Fchmod || m.disk[m.current].has_value();
}

// The model after a save of the current group: the file is what the bar
// holds, unless the fault failed it.
void saveIn(Model &m, const std::optional<Fault> &fault)
{
    if (!takes(fault, m) || fault->harmless())
        m.disk[m.current] = m.shown;
}

// The buttons a command acts on; the command is left out when there are
// fewer than `need`.
int buttons(const Model &m, int need)
{
    const int count = int(m.entryCount());
    RC_PRE(count >= need);
    return count;
}

// Runs one saving action with `fault` armed and checks that a failure was
// told, and only then.
template<typename Action>
void runSaving(const Model &before, const Model &after, Bar &bar, const std::optional<Fault> &fault, Action action)
{
    // What was written, over the file as it was.
    Model saving = after;
    saving.disk = before.disk;
    const bool taken = takes(fault, saving);
    if (fault) {
        const QString temporary = QFileInfo(bar.home()).canonicalFilePath() + u'/' + groupFileName(before.current)
                                  + u'.';
        FaultInjection::failNext(fault->call, QFile::encodeName(temporary), EIO);
    }
    action();
    // disarm() counts since the last failNext(): only an armed step asks.
    const int injected = fault ? FaultInjection::disarm() : 0;
    RC_ASSERT(injected == (taken ? 1 : 0));
    const bool failed = taken && !fault->harmless();
    RC_ASSERT(bar.shown().size() - bar.seen == (failed ? 1 : 0));
    if (failed) {
        const QString &message = bar.shown().last();
        RC_ASSERT(message.contains(BarProbe::groupPath(*bar.form, before.current)));
        RC_ASSERT(message.contains(systemReason(EIO)));
    }
    bar.seen = bar.shown().size();
    check(after, bar, false);
}

// Files dropped in registration mode, before a button or at the end.
struct Drop : Command {
    std::vector<int> files;
    int before;
    std::optional<Fault> fault = *genFault();
    explicit Drop(const Model &m)
        : files(
            *rc::gen::resize(3, rc::gen::nonEmpty(rc::gen::container<std::vector<int>>(rc::gen::inRange(0, kFiles)))))
        , before(*rc::gen::inRange<int>(-1, int(m.entryCount()) + 1))
    {
    }
    void apply(Model &m) const override
    {
        const QList<qsizetype> places = m.entryPlaces();
        qsizetype at = before >= 0 && before < places.size() ? places[before] : m.shown.size();
        for (int k : files) {
            const QString path = entryFile(m.home, k);
            m.shown.insert(at++, entryLine({path, {}, ExtractFileTitle(path)}));
        }
        saveIn(m, fault);
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        QStringList paths;
        for (int k : files)
            paths.append(entryFile(m.home, k));
        runSaving(m, after, bar, fault, [&] { bar.form->DropTarget1Dropped(paths, before); });
    }
    void show(std::ostream &os) const override
    {
        os << "drop files";
        for (int k : files)
            os << ' ' << k;
        os << " before button " << before << fault;
    }
};

// 削除 from the menu of a button under the pointer.
struct Delete : Command {
    int index;
    std::optional<Fault> fault = *genFault();
    explicit Delete(const Model &m)
        : index(*rc::gen::inRange(0, buttons(m, 1)))
    {
    }
    // A shrunk sequence may leave fewer buttons than when this was made.
    void checkPreconditions(const Model &m) const override { RC_PRE(index < m.entryCount()); }
    void apply(Model &m) const override
    {
        m.shown.removeAt(m.entryPlaces()[index]);
        saveIn(m, fault);
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        runSaving(m, after, bar, fault, [&] {
            BarProbe::ButtonMouseEnter(*bar.form, BarProbe::buttonFor(*bar.form, index));
            bar.form->DelBtnClick();
        });
    }
    void show(std::ostream &os) const override { os << "delete button " << index << fault; }
};

// The parameter editor's OK, as it saves: the entry replaced, then saved
// with the edit that made it.
struct EditParameters : Command {
    int index;
    QString param;
    std::optional<Fault> fault = *genFault();
    explicit EditParameters(const Model &m)
        : index(*rc::gen::inRange(0, buttons(m, 1)))
        , param(QString::fromUtf8(*rc::gen::element<std::string>("", "-x", "two words", "\"quoted\"", "a,b")))
    {
    }
    TRec edited(const Model &m) const
    {
        TRec rec = *m.shown[m.entryPlaces()[index]].rec;
        rec.param = param;
        return rec;
    }
    void checkPreconditions(const Model &m) const override { RC_PRE(index < m.entryCount()); }
    void apply(Model &m) const override
    {
        m.shown[m.entryPlaces()[index]] = entryLine(edited(m));
        saveIn(m, fault);
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        runSaving(m, after, bar, fault, [&] {
            const GroupResult result = bar.form->LaunchPath.replace(m.current, index, edited(m));
            RC_ASSERT(result.failure != GroupResult::BadPosition && result.failure != GroupResult::NotAnEntry);
        });
    }
    void show(std::ostream &os) const override
    {
        os << "edit parameters of button " << index << " to \"" << param.toStdString() << '"' << fault;
    }
};

// A button dragged to another place.
struct Drag : Command {
    int from, to;
    std::optional<Fault> fault = *genFault();
    explicit Drag(const Model &m)
        : from(*rc::gen::inRange(0, buttons(m, 2)))
        , to(*rc::gen::distinctFrom(rc::gen::inRange(0, buttons(m, 2)), from))
    {
    }
    void checkPreconditions(const Model &m) const override { RC_PRE(std::max(from, to) < m.entryCount()); }
    void apply(Model &m) const override
    {
        // The lines the bar cannot read stay by the entries around them:
        // the moved entry goes right after its new predecessor, or right
        // before its new successor.
        const QList<qsizetype> places = m.entryPlaces();
        const Line moved = m.shown.takeAt(places[from]);
        const qsizetype target = places[to] - (from < to ? 1 : 0);
        m.shown.insert(from < to ? target + 1 : target, moved);
        saveIn(m, fault);
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        runSaving(m, after, bar, fault, [&] { bar.form->moveEntry(from, to); });
    }
    void show(std::ostream &os) const override { os << "drag button " << from << " to " << to << fault; }
};

// The settings dialog's order list, closed with 確定 or without.
struct Order : Command {
    std::vector<int> order;
    bool confirmed = *rc::gen::arbitrary<bool>();
    std::optional<Fault> fault = *genFault();
    explicit Order(const Model &m)
    {
        // Sorted by random keys; keys shrink to all equal, the same order.
        const int count = int(m.entryCount());
        const auto keys = *rc::gen::container<std::vector<int>>(count, rc::gen::inRange(0, count));
        for (int i = 0; i < count; ++i)
            order.push_back(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    }
    void checkPreconditions(const Model &m) const override { RC_PRE(qsizetype(order.size()) == m.entryCount()); }
    void apply(Model &m) const override
    {
        if (!confirmed)
            return;
        const QList<qsizetype> places = m.entryPlaces();
        const QList<Line> was = m.shown;
        for (qsizetype i = 0; i < places.size(); ++i)
            m.shown[places[i]] = was[places[order[i]]];
        saveIn(m, fault);
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        if (!confirmed) {
            // What the dialog showed is dropped: nothing reaches the bar.
            check(after, bar, false);
            return;
        }
        QStringList lines;
        const QStringList was = bar.form->currentGroup().lines();
        for (int i : order)
            lines.append(was[i]);
        runSaving(m, after, bar, fault, [&] { bar.form->setGroupOrder(lines); });
    }
    void show(std::ostream &os) const override
    {
        os << (confirmed ? "order confirmed:" : "order dropped:");
        for (int i : order)
            os << ' ' << i;
        if (confirmed)
            os << fault;
    }
};

// Ctrl+N twice: registration mode on and off, or off and on; one save.
struct RegisterNothing : Command {
    std::optional<Fault> fault = *genFault();
    void apply(Model &m) const override { saveIn(m, fault); }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        runSaving(m, after, bar, fault, [&] {
            bar.form->AddMenuClick();
            bar.form->AddMenuClick();
        });
    }
    void show(std::ostream &os) const override { os << "Ctrl+N twice" << fault; }
};

// A group picked from the menu, the current one too: read from its file.
struct Switch : Command {
    int group = *rc::gen::inRange(0, kGroupCount);
    void apply(Model &m) const override
    {
        m.current = group;
        m.load();
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        bar.form->MenuClick(group);
        RC_ASSERT(bar.shown().size() == bar.seen);
        check(after, bar, true);
    }
    void show(std::ostream &os) const override { os << "switch to group " << group; }
};

// Another writer changes a group file. The model keeps the merge of a
// pending edit out: when it is the current group the user picks it again,
// which reads it.
struct HandEdit : Command {
    int group = *rc::gen::inRange(0, kGroupCount);
    enum Kind { AppendEntry, AppendUnreadable, RemoveLine } kind;
    int number; // the file of a new entry, the line removed, or a mark
    explicit HandEdit(const Model &m)
    {
        const qsizetype count = m.disk[group] ? m.disk[group]->size() : 0;
        kind = count > 0 ? *rc::gen::element(AppendEntry, AppendUnreadable, RemoveLine)
                         : *rc::gen::element(AppendEntry, AppendUnreadable);
        number = kind == RemoveLine    ? *rc::gen::inRange<int>(0, int(count))
                 : kind == AppendEntry ? *rc::gen::inRange(0, kFiles)
                                       : *rc::gen::inRange(0, 1000);
    }
    void checkPreconditions(const Model &m) const override
    {
        RC_PRE(kind != RemoveLine || (m.disk[group] && number < m.disk[group]->size()));
    }
    void apply(Model &m) const override
    {
        QList<Line> lines = m.disk[group].value_or(QList<Line>());
        switch (kind) {
        case AppendEntry:
            lines.append(entryLine({entryFile(m.home, number), u"-p"_s, u"by hand"_s}));
            break;
        case AppendUnreadable:
            // Four fields: no entry, kept as it is.
            lines.append({u"one,two,three,%1"_s.arg(number), std::nullopt});
            break;
        case RemoveLine:
            lines.removeAt(number);
            break;
        }
        m.disk[group] = lines;
        if (group == m.current)
            m.load();
    }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        RC_ASSERT(writeBytes(BarProbe::groupPath(*bar.form, group), bytesOf(*after.disk[group])));
        if (group == m.current)
            bar.form->MenuClick(group);
        RC_ASSERT(bar.shown().size() == bar.seen);
        check(after, bar, group == m.current);
    }
    void show(std::ostream &os) const override
    {
        static const char *const names[] = {"appends an entry of file", "appends an unreadable line", "removes line"};
        os << "hand edit of group " << group << ": " << names[kind] << ' ' << number;
    }
};

// An entry's file goes away (a drive unmounted) or comes back.
struct Vanish : Command {
    int file = *rc::gen::inRange(0, kFiles);
    void apply(Model &m) const override { m.present[file] = !m.present[file]; }
    void run(const Model &m, Bar &bar) const override
    {
        const QString path = entryFile(m.home, file);
        if (m.present[file])
            RC_ASSERT(QFile::remove(path));
        else
            RC_ASSERT(writeBytes(path, "#!/bin/sh\n"));
        Model after = m;
        apply(after);
        check(after, bar, false);
    }
    void show(std::ostream &os) const override { os << "file " << file << " vanishes or returns"; }
};

// The bar ended and started again on the same home.
struct SecondStart : Command {
    void apply(Model &m) const override { m.load(); }
    void run(const Model &m, Bar &bar) const override
    {
        Model after = m;
        apply(after);
        bar.form.reset();
        bar.start();
        RC_ASSERT(bar.shown().size() == bar.seen);
        check(after, bar, true);
    }
    void show(std::ostream &os) const override { os << "second start"; }
};

// The bar killed in the middle of saving a drop (a copy of it, forked), and
// started again: the file is as before or as after the drop, never anything
// else, and what the killed save left is of the form a start removes. The model goes on from the
// old file: a new one is put back by hand.
int g_kills = 0, g_killsAfterSave = 0; // for the run's summary

struct KilledSave : Command {
    int file = *rc::gen::inRange(0, kFiles);
    int delayUs = *rc::gen::inRange(0, 3000);
    void apply(Model &m) const override { m.load(); }
    void run(const Model &m, Bar &bar) const override
    {
        const QString path = BarProbe::groupPath(*bar.form, m.current);
        const QByteArray old = readBytes(path);
        Model dropped = m;
        const QString entry = entryFile(m.home, file);
        dropped.shown.append(entryLine({entry, {}, ExtractFileTitle(entry)}));
        const pid_t child = ::fork();
        RC_ASSERT(child >= 0);
        if (child == 0) {
            // Only the save: the copy's buttons would start work the
            // parent shares (its event loop's wake-ups).
            GroupModel &group = GroupSetProbe::unsavedModel(bar.form->LaunchPath, m.current);
            const QSignalBlocker quiet(group);
            const TRec rec{entry, {}, ExtractFileTitle(entry)};
            group.append({rec});
            group.save({GroupEdit::Append, {}, {}, {joinEntryLine(rec)}});
            ::_exit(0);
        }
        ::usleep(useconds_t(delayUs));
        ::kill(child, SIGKILL);
        int status = 0;
        RC_ASSERT(::waitpid(child, &status, 0) == child);
        const QByteArray now = readBytes(path);
        const bool oldOrNew = now == old || now == bytesOf(dropped.shown);
        RC_ASSERT(oldOrNew);
        ++g_kills;
        if (now != old) {
            ++g_killsAfterSave;
            const bool hadFile = old != "<missing>";
            const bool restored = hadFile ? writeBytes(path, old) : QFile::remove(path);
            RC_ASSERT(restored);
        }

        // What a start does before the bar: with the folder's lock, what
        // killed saves left goes.
        Model after = m;
        apply(after);
        bar.form.reset();
        QStringList ownFiles{u"Quillbrook.ini"_s};
        for (int g = 0; g < kGroupCount; ++g)
            ownFiles.append(groupFileName(g));
        removeSaveLeftovers(bar.home(), ownFiles);
        bar.start();
        RC_ASSERT(bar.shown().size() == bar.seen);
        check(after, bar, true);
    }
    void show(std::ostream &os) const override
    {
        os << "killed " << delayUs << " us into a drop of file " << file << ", then a second start";
    }
};

// Thousands of sequences; under AddressSanitizer every step and above all
// every fork costs far more (its shadow memory is copied), and a few
// hundred suffice there to look for memory faults.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSequences = 300;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kSequences = 300;
#else
constexpr int kSequences = 3000;
#endif
#else
constexpr int kSequences = 3000;
#endif

} // namespace

class TestModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filesFollowTheModel();
};

void TestModel::initTestCase()
{
    // Each save syncs to disk: on a disk-backed folder a sequence takes
    // some 50 ms, in memory well under 5 ms. The homes go to /dev/shm
    // unless TMPDIR says otherwise.
    if (qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo(u"/dev/shm"_s).isWritable())
        qputenv("TMPDIR", "/dev/shm");
    // RC_PARAMS replays or resizes a run; RapidCheck reads it at its first
    // use, below.
    QByteArray params = qgetenv("RC_PARAMS");
    if (!params.contains("seed="))
        params += " seed=" + QByteArray::number(quint64(std::random_device()()) << 32 | std::random_device()());
    if (!params.contains("max_success="))
        params += " max_success=" + QByteArray::number(kSequences);
    if (!params.contains("max_size="))
        params += " max_size=40";
    qputenv("RC_PARAMS", params.trimmed());
    qInfo("RC_PARAMS=\"%s\"", params.trimmed().constData());
}

void TestModel::filesFollowTheModel()
{
    const bool passed = rc::check("the group files follow the model", [] {
        Bar bar;
        Model model;
        model.home = bar.home();
        model.present.fill(true);
        // An empty home: no group file yet.
        check(model, bar, true);
        rc::state::check(model, bar,
                         rc::state::gen::execOneOfWithArgs<Drop, Delete, EditParameters, Drag, Order, RegisterNothing,
                                                           Switch, HandEdit, Vanish, SecondStart, KilledSave>());
    });
    qInfo("%d kills, %d of them after the new file was in place", g_kills, g_killsAfterSave);
    QVERIFY(passed);
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
