#include "net/dns_sd_values.h"

#include <QNetworkInterface>
#include <QtEndian>

namespace torvane {

namespace {

// What the name of a peer may not carry: line breaks and tabs, direction
// overrides and invisible characters that would make one name pass for
// another.
bool shown(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return false;
    default: return true;
    }
}

}  // namespace

QByteArray serviceName(const QString& nickname) {
    QByteArray name;
    for (const char32_t c : nickname.toUcs4()) {
        const QByteArray bytes = QString::fromUcs4(&c, 1).toUtf8();
        if (name.size() + bytes.size() > kMaxServiceNameBytes) break;
        name += bytes;
    }
    return name;
}

QString shownName(QByteArrayView serviceName) {
    QList<char32_t> kept;
    for (const char32_t c : QString::fromUtf8(serviceName).toUcs4())
        if (shown(c)) kept.append(c);
    if (kept.size() > kMaxShownNameChars) {
        kept.resize(kMaxShownNameChars - 1);
        kept.append(U'…');
    }
    return QString::fromUcs4(kept.constData(), kept.size());
}

QHostAddress connectAddress(const AvahiAddress& address, AvahiIfIndex interfaceIndex) {
    if (address.proto == AVAHI_PROTO_INET) return QHostAddress(qFromBigEndian(address.data.ipv4.address));
    QHostAddress connectable(address.data.ipv6.address);
    if (connectable.isLinkLocal()) connectable.setScopeId(QNetworkInterface::interfaceNameFromIndex(interfaceIndex));
    return connectable;
}

}  // namespace torvane
