#pragma once

#include "common/core/string_table.h"

#include <QString>
#include <optional>

class QWidget;

// The font of a language: face (string 701), size in points (string 710) and character-set
// number. Qt is Unicode throughout, so the character set is kept as state on each widget
// (property "charset") rather than changing how text is drawn.
struct LanguageFont
{
    QString face;
    double points = 9.0;
    qint16 charset = 0;

    // Looks up 701 and 710 with the language offset; no value when either is missing or the size
    // is not a number.
    static std::optional<LanguageFont> fromTable(const Texts &texts, int offset, qint16 charset);
};

// Maps the face names of the string tables to the fonts a Linux desktop has: "Times New Roman"
// to Liberation Serif, the Japanese face to Noto Sans CJK JP / IPA fonts. Call once at start.
void installFontSubstitutions();

// Sets face, size and character set on the window and every control in it.
void sApplyLanguageFont(QWidget *window, const LanguageFont &font);
// Sets only the character set of the window and its controls.
void sApplyCharset(QWidget *window, qint16 charset);
// Centres the window on its screen: left and top rounded, never below 0.
void sCenterForm(QWidget *window);

// The character set last applied to a widget (0 when none was).
qint16 charsetOf(const QWidget *widget);
