#include "common/ui/window_fonts.h"

#include "common/core/number_format.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>
#include <cmath>

namespace {
constexpr auto kCharsetProperty = "charset";
}

std::optional<LanguageFont> LanguageFont::fromTable(const Texts &texts, int offset, qint16 charset)
{
    const std::optional<QString> face = texts.lookup(offset + 701);
    const std::optional<QString> size = texts.lookup(offset + 710);
    if (!face || !size)
        return std::nullopt;
    const std::optional<double> points = NumberFormat::parse(*size);
    if (!points || *points <= 0 || *points > 200)
        return std::nullopt;
    return LanguageFont{*face, *points, charset};
}

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC")});
    const QStringList japanese = {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                  QStringLiteral("IPAGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), japanese);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), japanese);
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono")});
}

void sApplyLanguageFont(QWidget *window, const LanguageFont &font)
{
    if (!window)
        return;
    auto apply = [&font](QWidget *w) {
        QFont f = w->font();
        f.setFamily(font.face);
        f.setPointSizeF(font.points);
        w->setFont(f);
        w->setProperty(kCharsetProperty, int(font.charset));
    };
    apply(window);
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children)
        apply(w);
}

void sApplyCharset(QWidget *window, qint16 charset)
{
    if (!window)
        return;
    window->setProperty(kCharsetProperty, int(charset));
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *w : children)
        w->setProperty(kCharsetProperty, int(charset));
}

void sCenterForm(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    int left = int(std::lround((area.width() - size.width()) / 2.0));
    int top = int(std::lround((area.height() - size.height()) / 2.0));
    left = qMax(0, left);
    top = qMax(0, top);
    window->move(area.left() + left, area.top() + top);
}

qint16 charsetOf(const QWidget *widget)
{
    return widget ? qint16(widget->property(kCharsetProperty).toInt()) : qint16(0);
}
