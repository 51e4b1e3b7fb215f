// The code page 932 text codec: pinned bytes, Windows' choice among
// duplicate pairs, broken input, and reads split anywhere.
#include "net/cp932_codec.h"

#include <QtTest>

using torvane::Cp932Decoder;
using torvane::EncodeCp932;

namespace {

bool IsLead(int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Windows' order of preference among pairs that decode to one character.
int Rank(int lead)
{
    return lead == 0x87 ? 1 : lead >= 0xFA ? 2 : (lead == 0xED || lead == 0xEE) ? 3 : 0;
}

QString DecodeOnce(const QByteArray& bytes)
{
    Cp932Decoder decoder;
    return decoder.Decode(bytes);
}

}  // namespace

class TestCp932Codec : public QObject {
    Q_OBJECT

private slots:
    void encodes_data();
    void encodes();
    void decodes_data();
    void decodes();
    void everyPairRoundTripsOrYieldsToPreferredPair();
    void splitAtAnyByteDecodesAlike();
    void resetForgetsKeptLeadByte();
};

void TestCp932Codec::encodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    const auto row = [](const char* name, const QString& text, const char* hex) {
        QTest::newRow(name) << text << QByteArray::fromHex(hex);
    };
    row("fullwidth tilde", QString(QChar(0xFF5E)), "8160");
    row("white star", "☆", "8199");
    row("ideographic space", QString(QChar(0x3000)), "8140");
    row("circled one", "①", "8740");
    row("katakana po", "ポ", "837C");
    row("katakana so", "ソ", "835C");
    row("fullwidth bar", QString(QChar(0xFF5C)), "8162");
    row("backslash", "\\", "5C");
    row("tilde", "~", "7E");
    row("halfwidth a", "ｱ", "B1");
    row("ascii", "a|b 1", "617C622031");
    row("wave dash", QString(QChar(0x301C)), "8160");
    row("double vertical line", QString(QChar(0x2016)), "8161");
    row("minus sign", QString(QChar(0x2212)), "817C");
    row("em dash", QString(QChar(0x2014)), "815C");
    row("cent", QString(QChar(0xA2)), "8191");
    row("pound", QString(QChar(0xA3)), "8192");
    row("not sign", QString(QChar(0xAC)), "81CA");
    row("approximately equal prefers jis", QString(QChar(0x2252)), "81E0");
    row("roman one prefers nec", QString(QChar(0x2160)), "8754");
    row("small roman one prefers ibm", QString(QChar(0x2170)), "FA40");
    row("fullwidth not prefers jis", QString(QChar(0xFFE2)), "81CA");
    row("emoji is one mark", "a😀b", "613F62");
    row("lone high surrogate", QString(QChar(0xD83D)) + "a", "3F61");
    row("lone low surrogate", QString(QChar(0xDE00)), "3F");
    row("outside code page", "é€", "3F3F");
}

void TestCp932Codec::encodes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(EncodeCp932(text).toHex(' '), bytes.toHex(' '));
}

void TestCp932Codec::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString bad(QChar(0xFFFD));
    const auto row = [](const char* name, const char* hex, const QString& text) {
        QTest::newRow(name) << QByteArray::fromHex(hex) << text;
    };
    row("fullwidth tilde", "8160", QString(QChar(0xFF5E)));
    row("backslash and tilde", "5C7E", "\\~");
    row("po then bar", "837C7C", "ポ|");
    row("halfwidth katakana", "B1DF", "ｱﾟ");
    row("user-defined area", "F040", QString(QChar(0xE000)));
    row("undefined single bytes", "80A0FDFEFF", bad.repeated(5));
    row("lead before space", "8120", bad + " ");
    row("bar as trail byte", "817C7C", QString(QChar(0xFF0D)) + "|");
    row("undefined pair keeps bar", "857C", bad + "|");
    row("undefined pair before lead", "85815F", bad + QChar(0xFF3C));
    row("lead at end is kept", "41E0", "A");
}

void TestCp932Codec::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(DecodeOnce(bytes), text);
}

void TestCp932Codec::everyPairRoundTripsOrYieldsToPreferredPair()
{
    int decodable = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
            const QString text = DecodeOnce(pair);
            if (text.size() != 1 || text[0] == QChar(0xFFFD)) {
                continue;
            }
            ++decodable;
            const QByteArray back = EncodeCp932(text);
            if (back == pair) {
                continue;
            }
            const QString where = pair.toHex() + " -> " + back.toHex();
            QVERIFY2(back.size() == 2 && DecodeOnce(back) == text, qPrintable(where));
            const int backLead = static_cast<unsigned char>(back[0]);
            QVERIFY2(Rank(backLead) < Rank(lead) || (Rank(backLead) == Rank(lead) && back < pair), qPrintable(where));
        }
    }
    // JIS X 0208, the NEC and IBM extensions and the user-defined area.
    QVERIFY2(decodable > 9000, qPrintable(QString::number(decodable)));
}

void TestCp932Codec::splitAtAnyByteDecodesAlike()
{
    const QByteArray bytes = EncodeCp932(u"|Speak 山田>>ｺﾝﾆﾁﾊ～①\\~|SetSt 103") + QByteArray::fromHex("81207C857C8180FF") +
                             EncodeCp932(u"ポ|Finis ");
    const QString whole = DecodeOnce(bytes);
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        Cp932Decoder decoder;
        QString text = decoder.Decode(bytes.first(at));
        text += decoder.Decode(bytes.sliced(at));
        QCOMPARE(text, whole);
        QVERIFY(!decoder.HasPendingByte());
    }
}

void TestCp932Codec::resetForgetsKeptLeadByte()
{
    Cp932Decoder decoder;
    QCOMPARE(decoder.Decode(QByteArray::fromHex("4183")), "A");
    QVERIFY(decoder.HasPendingByte());
    QCOMPARE(decoder.Decode({}), QString());
    QVERIFY(decoder.HasPendingByte());
    decoder.Reset();
    QVERIFY(!decoder.HasPendingByte());
    QCOMPARE(decoder.Decode(QByteArray::fromHex("7C")), "|");
}

QTEST_GUILESS_MAIN(TestCp932Codec)
#include "test_cp932_codec.moc"
