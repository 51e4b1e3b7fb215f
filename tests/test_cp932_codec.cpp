// The code page 932 text codec: pinned bytes, Windows' choice among
// duplicate pairs, broken input, and reads split anywhere.
#include "net/cp932_codec.h"

#include <QtTest>

using torvane::Cp932Decoder;
using torvane::EncodeCp932;

namespace {

enum Way { Both, EncodeOnly, DecodeOnly };

QString DecodeOnce(QByteArrayView bytes) {
    Cp932Decoder decoder;
    return decoder.Decode(bytes);
}

}  // namespace

class TestCp932Codec : public QObject {
    Q_OBJECT

private slots:
    void converts_data();
    void converts();
    void everyPairEncodesBackToItsCharacter();
    void splitAtAnyByteDecodesAlike();
};

void TestCp932Codec::converts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("way");

    const auto row = [](const char* name, const QString& text, const char* hex, Way way = Both) {
        QTest::newRow(name) << text << QByteArray::fromHex(hex) << int(way);
    };
    const QString bad(QChar(0xFFFD));
    row("fullwidth tilde", QChar(0xFF5E), "8160");
    row("white star", "☆", "8199");
    row("ideographic space", QChar(0x3000), "8140");
    row("trail byte edges", "×÷◯", "817E818081FC");
    row("circled one", "①", "8740");
    row("po then bar", "ポ|", "837C7C");
    row("so then backslash and tilde", "ソ\\~", "835C5C7E");
    row("fullwidth bar", QChar(0xFF5C), "8162");
    row("ascii and halfwidth katakana", "a|b ｱﾟ", "617C6220B1DF");
    row("user-defined area", QChar(0xE000), "F040");
    row("approximately equal prefers jis", QChar(0x2252), "81E0");
    row("roman one prefers nec", QChar(0x2160), "8754");
    row("small roman one prefers ibm", QChar(0x2170), "FA40");
    row("wave dash", QChar(0x301C), "8160", EncodeOnly);
    row("minus sign", QChar(0x2212), "817C", EncodeOnly);
    row("other look-alikes", QString::fromUtf16(u"\u2016\u2014\u00A2\u00A3\u00AC"), "8161815C8191819281CA", EncodeOnly);
    row("emoji is one mark", "a😀b", "613F62", EncodeOnly);
    row("lone surrogates", QString(QChar(0xD83D)) + "a" + QChar(0xDE00) + QChar(0xD83D), "3F613F3F", EncodeOnly);
    row("outside code page", "é€", "3F3F", EncodeOnly);
    row("undefined single bytes", bad.repeated(5), "80A0FDFEFF", DecodeOnly);
    row("undefined pair keeps bar", bad + "|", "857C", DecodeOnly);
    row("lone lead keeps space or lead", bad + " " + bad + QChar(0xFF3C), "812085815F", DecodeOnly);
    row("lead at end is kept", "A", "41E0", DecodeOnly);
}

void TestCp932Codec::converts() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(int, way);

    if (way != DecodeOnly) {
        QCOMPARE(EncodeCp932(text).toHex(' '), bytes.toHex(' '));
    }
    if (way != EncodeOnly) {
        QCOMPARE(DecodeOnce(bytes), text);
    }
}

// Where several pairs decode to one character the encoder picks one of them;
// which one is pinned above.
void TestCp932Codec::everyPairEncodesBackToItsCharacter() {
    int decodable = 0;
    for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray pair = QByteArray(1, char(lead)) + char(trail);
            const QString text = DecodeOnce(pair);
            if (text.size() == 1 && text[0] != QChar(0xFFFD)) {
                ++decodable;
                const QByteArray back = EncodeCp932(text);
                QVERIFY2(back.size() == 2 && DecodeOnce(back) == text,
                         qPrintable(pair.toHex() + " -> " + back.toHex()));
            }
        }
    }
    // JIS X 0208, the NEC and IBM extensions and the user-defined area.
    QVERIFY2(decodable > 9000, qPrintable(QString::number(decodable)));
}

// One decoder, reset after a read that ends in a lead byte each time, then
// fed the bytes split anywhere with an empty read between the two parts.
void TestCp932Codec::splitAtAnyByteDecodesAlike() {
    const QByteArray bytes = EncodeCp932(u"|Speak 山田>>ｺﾝﾆﾁﾊ～①\\~|SetSt 103") +
                             QByteArray::fromHex("81207C857C8180FF") + EncodeCp932(u"ポ|Finis ");
    const QString whole = DecodeOnce(bytes);
    Cp932Decoder decoder;
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        QCOMPARE(decoder.Decode(QByteArray::fromHex("4183")), "A");
        decoder.Reset();
        const QString first = decoder.Decode(bytes.first(at));
        const QString empty = decoder.Decode({});
        QCOMPARE(first + empty + decoder.Decode(bytes.sliced(at)), whole);
        QVERIFY(!decoder.HasPendingByte());
    }
}

QTEST_GUILESS_MAIN(TestCp932Codec)
#include "test_cp932_codec.moc"
