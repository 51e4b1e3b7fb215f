// The scalable icon: the detailed design in plain SVG shapes, with smooth
// gradients for the wood and the stones since SVG has no grain.

#include <QColor>
#include <QString>
#include <QStringList>

#include "icon_design.h"
#include "icons.h"

namespace torvane::assets {

namespace {

using namespace icon;

QString n(double value) { return QString::number(value, 'g', 6); }

QString colour(const QColor& c) { return c.name(QColor::HexRgb); }

QString stop(double offset, const QColor& c, double opacity = 1.0) {
    return QStringLiteral(R"(<stop offset="%1" stop-color="%2" stop-opacity="%3"/>)")
        .arg(n(offset), colour(c), n(opacity));
}

QString stoneGradient(const QString& id, const StoneTone& tone) {
    return QStringLiteral(R"(<radialGradient id="%1" fx="0.31" fy="0.29" r="0.5">%2%3%4</radialGradient>)")
        .arg(id, stop(0.0, tone.shine), stop(0.45, tone.body), stop(1.0, tone.edge));
}

QString stoneId(std::size_t stone) { return QStringLiteral("stone%1").arg(stone); }

QString definitions() {
    QStringList out{
        QStringLiteral(R"(<linearGradient id="wood" x1="0" y1="0" x2="0" y2="1">%1%2</linearGradient>)")
            .arg(stop(0.0, kSurfaceWood.light), stop(1.0, kFlatWoodLow)),
        QStringLiteral(R"(<linearGradient id="hollow" x1="0.15" y1="0.15" x2="0.85" y2="0.85">%1%2</linearGradient>)")
            .arg(stop(0.0, kGrooveDark), stop(1.0, kGrooveLit)),
        QStringLiteral(R"(<radialGradient id="shine">%1%2</radialGradient>)")
            .arg(stop(0.0, Qt::white, 0.94), stop(1.0, Qt::white, 0.0)),
    };
    for (std::size_t i = 0; i < kStones.size(); ++i) out << stoneGradient(stoneId(i), kStones[i].tone);
    return out.join(QStringLiteral("\n    "));
}

QString roundedRect(const QRectF& r, double radius, const QString& style) {
    return QStringLiteral(R"(<rect x="%1" y="%2" width="%3" height="%4" rx="%5" %6/>)")
        .arg(n(r.x()), n(r.y()), n(r.width()), n(r.height()), n(radius), style);
}

QString slab() {
    const double inset = kRimWidth / 2.0;
    return QStringList{
        roundedRect(kSlab.translated(0, kShadowDrop), kSlabRadius,
                    QStringLiteral(R"(fill="%1" fill-opacity="%2")").arg(colour(kShadow), n(kShadow.alphaF()))),
        roundedRect(kSlab, kSlabRadius, QStringLiteral(R"s(fill="url(#wood)")s")),
        roundedRect(
            kSlab.adjusted(inset, inset, -inset, -inset), kSlabRadius - inset,
            QStringLiteral(R"(fill="none" stroke="%1" stroke-width="%2")").arg(colour(kFrameWood.light), n(kRimWidth))),
        roundedRect(
            kSlab, kSlabRadius,
            QStringLiteral(R"(fill="none" stroke="%1" stroke-width="%2")").arg(colour(kFrameWood.dark), n(kEdgeWidth))),
    }
        .join(QStringLiteral("\n  "));
}

QString grooves() {
    const double shift = kLineWidth * kGrooveLitShift;
    QString lit;
    QString dark;
    for (const QLineF& line : gridLines(kAt)) {
        lit += QStringLiteral("M%1 %2L%3 %4")
                   .arg(n(line.x1() + shift), n(line.y1() + shift), n(line.x2() + shift), n(line.y2() + shift));
        dark += QStringLiteral("M%1 %2L%3 %4").arg(n(line.x1()), n(line.y1()), n(line.x2()), n(line.y2()));
    }
    const QString path = QStringLiteral(R"(<path d="%1" stroke="%2"/>)");
    return QStringLiteral(R"(<g fill="none" stroke-width="%1" stroke-linecap="round">%2%3</g>)")
        .arg(n(kLineWidth), path.arg(lit, colour(kGrooveLit)), path.arg(dark, colour(kGrooveDark)));
}

QString circle(double x, double y, double r, const QString& style) {
    return QStringLiteral(R"(<circle cx="%1" cy="%2" r="%3" %4/>)").arg(n(x), n(y), n(r), style);
}

QString seats() {
    constexpr double kSeat = kSeatRadius * kSeatScale;
    constexpr double kHollow = kHollowRadius * kSeatScale;
    QString out;
    for (double y : kAt) {
        for (double x : kAt) {
            out += circle(x, y, kSeat,
                          QStringLiteral(R"(fill="%1" stroke="%2" stroke-opacity="0.6")")
                              .arg(colour(kSurfaceWood.light), colour(kGrooveDark)));
            out += circle(x, y, kHollow, QStringLiteral(R"s(fill="url(#hollow)")s"));
        }
    }
    return out;
}

QString stones() {
    QString out;
    for (std::size_t i = 0; i < kStones.size(); ++i) {
        const Stone& stone = kStones[i];
        const double x = kAt[stone.column];
        const double y = kAt[stone.row];
        out += circle(x + 0.1 * kStoneRadius, y + 0.14 * kStoneRadius, kStoneRadius * 1.08,
                      QStringLiteral(R"(fill="%1" fill-opacity="0.35")").arg(colour(kShadow)));
        out += circle(x, y, kStoneRadius,
                      QStringLiteral(R"s(fill="url(#%1)" stroke="%2" stroke-width="1.35")s")
                          .arg(stoneId(i), colour(stone.tone.edge.darker(130))));
        out += QStringLiteral(R"s(<ellipse cx="%1" cy="%2" rx="%3" ry="%4" fill="url(#shine)"/>)s")
                   .arg(n(x - 0.3 * kStoneRadius), n(y - 0.4 * kStoneRadius), n(0.44 * kStoneRadius),
                        n(0.3 * kStoneRadius));
    }
    return out;
}

}  // namespace

QByteArray iconSvg() {
    const QString svg = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="%1" height="%1" viewBox="0 0 %1 %1">
  <defs>
    %2
  </defs>
  %3
  %4
  %5
  %6
</svg>
)")
                            .arg(n(kSide), definitions(), slab(), grooves(), seats(), stones());
    return svg.toUtf8();
}

}  // namespace torvane::assets
