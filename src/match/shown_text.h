#pragma once
// How much of a text from the rival is shown.

#include <QString>

namespace torvane {

// The most of a name that is shown, and that the dialog takes.
inline constexpr qsizetype kMaxNameLength = 64;

// `text` cut to `limit` characters and "…" when it is longer.
inline QString cutText(const QString& text, qsizetype limit) {
    return text.size() <= limit ? text : text.first(limit) + u'…';
}

}  // namespace torvane
