// Received data fed chunk after chunk through the port, the link and the
// window's memos: the text the window holds stays within its stated bounds.
#include "support/WindowOnPty.h"
#include "ui/Unit1.h"
#include "ui/widgets/PlainTextMemo.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

#include <functional>

namespace {

using zx::ui::kEchoLineBounds;
using zx::ui::kReceptionMemoBounds;

constexpr int kChunkBytes = 4000; // what a pseudo-terminal holds unread at once
constexpr int kReceiveBuffer = 8192;

QByteArray printableLine(int n, int width, char tag) {
    QByteArray line = tag + QByteArray::number(n) + ':';
    while (line.size() < width)
        line += char('a' + line.size() % 26);
    return line;
}

} // namespace

class MemoBoundsTest : public QObject, protected WindowOnPty {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void receivedChunksStayWithinTheBounds_data();
    void receivedChunksStayWithinTheBounds();
    void echoLineStaysWithinItsBound();
};

void MemoBoundsTest::receivedChunksStayWithinTheBounds_data() {
    QTest::addColumn<int>("chunks");
    QTest::addColumn<std::function<QByteArray(int)>>("chunk");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<bool>("lineBoundReached");

    // Lines longer than anything a module sends: the character bound holds.
    QTest::newRow("one long line a chunk")
        << 560 << std::function([](int i) { return printableLine(i, kChunkBytes, 'L'); })
        << QString::fromLatin1(printableLine(559, kChunkBytes, 'L')) << false;
    // Short answers: the line bound holds.
    QTest::newRow("short lines") << 120 << std::function([](int i) {
        QByteArray chunk;
        for (int k = 0; k < 200; ++k)
            chunk += printableLine(i * 200 + k, 17, 'S') + "\r\n";
        chunk.chop(2); // the display adds the last line break
        return chunk;
    }) << QString::fromLatin1(printableLine(119 * 200 + 199, 17, 'S'))
       << true;
    // Noise: control bytes, NULs, CR and LF anywhere.
    QTest::newRow("noise") << 250 << std::function([](int i) {
        QRandomGenerator random(quint32(i + 1));
        QByteArray chunk(kChunkBytes, '\0');
        for (char &c : chunk)
            c = char(random.bounded(256));
        return chunk;
    }) << QString() << true;
}

void MemoBoundsTest::receivedChunksStayWithinTheBounds() {
    QFETCH(int, chunks);
    QFETCH(std::function<QByteArray(int)>, chunk);
    QFETCH(QString, lastLine);
    QFETCH(bool, lineBoundReached);
    auto *memo = child<QPlainTextEdit>(*form_, "MemoSMSinput");
    QTextDocument *document = memo->document();
    qint64 shown = 0;
    for (int i = 0; i < chunks; ++i) {
        const QByteArray bytes = chunk(i);
        QVERIFY(bytes.size() <= kChunkBytes);
        deliver(*form_, *peer_, bytes);
        QVERIFY(form_->link().DisplayText().size() <= kReceiveBuffer);
        tick(*form_);
        shown += bytes.size();
        QVERIFY2(document->blockCount() <= kReceptionMemoBounds.lines,
                 qPrintable(QStringLiteral("%1 lines after chunk %2").arg(document->blockCount()).arg(i)));
        QVERIFY2(document->characterCount() <= kReceptionMemoBounds.characters,
                 qPrintable(QStringLiteral("%1 characters after chunk %2")
                                .arg(document->characterCount())
                                .arg(i)));
        QCOMPARE(document->availableUndoSteps(), 0);
        QCOMPARE(form_->link().DisplayText(), QByteArray());
    }
    QVERIFY(!document->isUndoRedoEnabled());
    // Far more came than the memo keeps, and what it keeps is the newest,
    // not an emptied memo.
    if (lineBoundReached) {
        QCOMPARE(document->blockCount(), kReceptionMemoBounds.lines);
    } else {
        QVERIFY(shown > 2 * kReceptionMemoBounds.characters);
        QVERIFY(document->characterCount() > kReceptionMemoBounds.characters / 2);
    }
    if (!lastLine.isEmpty()) {
        QCOMPARE(document->lastBlock().text(), QString());
        QCOMPARE(document->lastBlock().previous().text(), lastLine);
        // Lines go whole and none is added: every line kept is one that was
        // received.
        for (QTextBlock b = document->firstBlock(); b != document->lastBlock(); b = b.next()) {
            const QString line = b.text();
            QVERIFY2(line.size() == lastLine.size() && line.at(0) == lastLine.at(0),
                     qPrintable(line.left(40)));
        }
    }
}

// The echo line is filled by the program too, but can be typed in, so it
// keeps its undo history; a run of appends without a clear stays bounded.
void MemoBoundsTest::echoLineStaysWithinItsBound() {
    QPlainTextEdit edit;
    zx::ui::PlainTextMemo echo(&edit, kEchoLineBounds);
    for (int i = 0; i < 3000; ++i) {
        echo.append(QString::fromLatin1(printableLine(i, 30, 'E')) + QLatin1Char('\n'));
        QVERIFY(edit.document()->characterCount() <= kEchoLineBounds.characters);
    }
    QVERIFY(edit.document()->characterCount() > kEchoLineBounds.characters / 2);
    QVERIFY(edit.document()->isUndoRedoEnabled());
    QVERIFY(edit.document()->availableUndoSteps() <= kEchoLineBounds.characters);
    QCOMPARE(edit.document()->lastBlock().previous().text(),
             QString::fromLatin1(printableLine(2999, 30, 'E')));
    QVERIFY(edit.document()->firstBlock().text().startsWith(QLatin1Char('E')));
    QCOMPARE(edit.document()->firstBlock().text().size(), 30);
}

QTEST_MAIN(MemoBoundsTest)
#include "tst_memo_bounds.moc"
