#include "link/core/record_decoder.h"

#include "common/core/field_split.h"
#include "common/core/number_format.h"
#include "link/core/link_state.h"
#include "link/core/link_string_ids.h"
#include "link/core/record_grid.h"

#include <QStringList>

namespace {

const QLatin1Char kSemicolon(';');

} // namespace

RecordDecoder::RecordDecoder(const LinkState &state, RecordGrid &grid)
    : m_state(state), m_grid(grid), m_temperatureUnit(state.degreeTexts[0])
{
}

QStringView RecordDecoder::trimSpaces(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QString RecordDecoder::trimSpaces(const QString &text)
{
    const QStringView trimmed = trimSpaces(QStringView(text));
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString RecordDecoder::fixed(int id) const
{
    return m_state.texts.value(id);
}

bool RecordDecoder::smGetUnit(const QString &unitReply)
{
    const qsizetype s1 = unitReply.indexOf(kSemicolon);
    const qsizetype s2 = s1 < 0 ? -1 : unitReply.indexOf(kSemicolon, s1 + 1);
    const qsizetype s3 = s2 < 0 ? -1 : unitReply.indexOf(kSemicolon, s2 + 1);
    if (s3 < 0)
        return false;
    // The first character of the reply is not part of the velocity unit.
    m_velocityUnit = s1 >= 1 ? unitReply.mid(1, s1 - 1) : QString();
    m_flowUnit = unitReply.mid(s1 + 1, s2 - s1 - 1);
    m_pressureUnit = unitReply.mid(s2 + 1, s3 - s2 - 1);
    const QString rest = trimSpaces(unitReply.mid(s3 + 1));
    m_temperatureUnit = rest.startsWith(QLatin1Char('C')) ? m_state.degreeTexts[0]
                                                          : m_state.degreeTexts[1];
    return true;
}

QString RecordDecoder::quantityTitle(const QString &type) const
{
    QString open;
    QString unit;
    if (type == QLatin1String("PRESS")) {
        open = fixed(linkid::kFixedPressOpen);
        unit = m_pressureUnit;
    } else if (type == QLatin1String("VEL")) {
        open = fixed(linkid::kFixedVelOpen);
        unit = m_velocityUnit;
    } else if (type == QLatin1String("AFLOW")) {
        open = fixed(linkid::kFixedAflowOpen);
        unit = m_flowUnit;
    } else {
        return QString();
    }
    return open + unit + fixed(linkid::kFixedClose);
}

void RecordDecoder::smViewData(const QString &line)
{
    QString type;
    if (m_state.flags.enableAtm == 0) {
        type = line.right(5);
    } else {
        const FieldSplit fields(line, kSemicolon);
        type = fields.count() >= 5 ? fields.field(5) : QStringLiteral(" ");
    }
    type = trimSpaces(type);

    const QString title = quantityTitle(type);
    if (!title.isEmpty()) {
        if (!m_titleSet)
            smChangeTitle(title);
        noteQuantity(title);
        smWriteData(line);
    } else {
        smWriteData2(line);
    }
    m_titleSet = true;
}

void RecordDecoder::smChangeTitle(const QString &title)
{
    QStringList titles = {fixed(linkid::kFixedNo),
                          fixed(linkid::kFixedX),
                          fixed(linkid::kFixedY),
                          fixed(linkid::kFixedInchMm),
                          fixed(linkid::kFixedNo),
                          title,
                          fixed(linkid::kFixedTempOpen) + m_temperatureUnit
                              + fixed(linkid::kFixedTempClose)};
    const bool atm = m_state.flags.enableAtm != 0;
    // The atmospheric titles are written whenever the columns exist, so a file saved with
    // Save ATM on carries its headings even while the column is not shown.
    if (atm)
        titles << fixed(linkid::kFixedAtmHpa) << fixed(linkid::kFixedAtmHpa)
               << fixed(linkid::kFixedAtmFlag);

    GridRedrawPause pause(m_grid);
    m_grid.setColumnCount(atm ? 10 : 7);
    for (int c = 0; c < titles.size(); ++c)
        m_grid.setCell(0, c + 1, titles.at(c));
    if (atm) {
        m_grid.setColumnHidden(9, true);
        m_grid.setColumnHidden(10, true);
        m_grid.setColumnHidden(8, m_state.flags.displayAtm == 0);
    }
}

void RecordDecoder::hideColumnsForOptions(const LinkState &state, RecordGrid &grid)
{
    const bool atm = state.flags.enableAtm != 0;
    grid.setColumnHidden(8, !atm || state.flags.displayAtm == 0);
    grid.setColumnHidden(9, true);
    grid.setColumnHidden(10, true);
}

bool RecordDecoder::hasQuantityColumn(const RecordGrid &grid)
{
    return grid.columnCount() >= kQuantityColumn;
}

void RecordDecoder::setQuantityColumn(const LinkState &state, RecordGrid &grid, bool on)
{
    GridRedrawPause pause(grid);
    if (!on) {
        if (hasQuantityColumn(grid))
            grid.setColumnCount(state.flags.enableAtm != 0 ? 10 : 7);
        return;
    }
    if (!hasQuantityColumn(grid))
        grid.setColumnCount(kQuantityColumn);
    grid.setCell(0, kQuantityColumn, state.texts.value(linkid::kFixedQuantity));
    hideColumnsForOptions(state, grid);
}

void RecordDecoder::noteQuantity(const QString &title)
{
    m_quantity = title;
    if (m_firstQuantity.isEmpty()) {
        m_firstQuantity = title;
        m_firstGroupRow = m_grid.rowCount() + 1;
        return;
    }
    if (m_mixed || title == m_firstQuantity)
        return;
    // The second quantity: every row so far belongs to the first one.
    m_mixed = true;
    GridRedrawPause pause(m_grid);
    setQuantityColumn(m_state, m_grid, true);
    m_grid.setCell(0, 6, fixed(linkid::kFixedValue));
    for (int row = m_firstGroupRow; row <= m_grid.rowCount(); ++row)
        m_grid.setCell(row, kQuantityColumn, m_firstQuantity);
}

void RecordDecoder::smWriteData(const QString &line)
{
    const FieldSplit fields(line, kSemicolon);
    if (fields.count() == 0)
        return;

    GridRedrawPause pause(m_grid);
    const int row = m_grid.rowCount() + 1;
    m_grid.setRowCount(row);
    m_grid.setCurrentRow(row);

    // The first character of the number is not shown.
    m_grid.setCell(row, 1, trimSpaces(fields.field(1)).mid(1));
    for (int c = 2; c <= 4; ++c)
        m_grid.setCell(row, c, fields.field(c));
    if (m_mixed)
        m_grid.setCell(row, kQuantityColumn, m_quantity);

    if (m_state.flags.enableAtm != 0 && fields.count() >= 7) {
        // The pressure comes in tenths of hPa.
        QString atm = fields.field(6);
        if (atm.size() > 1)
            atm.insert(atm.size() - 1, QLatin1Char('.'));
        const QString whole = NumberFormat::formatText(atm, QStringLiteral("####"));
        const QString flag = trimSpaces(fields.field(7));
        if (flag == QLatin1String("1") || flag == QLatin1String("2"))
            m_grid.setCell(row, 8, whole, RecordGrid::Style::Number);
        else if (flag == QLatin1String("3"))
            m_grid.setCell(row, 8, fixed(linkid::kFixedAtmError), RecordGrid::Style::Number);
        else
            m_grid.setCell(row, 8,
                           fixed(m_state.languageOffset != 0 ? linkid::kFixedAtmNoneLocal
                                                             : linkid::kFixedAtmNone),
                           RecordGrid::Style::Marker);
        m_grid.setCell(row, 9, whole);
        m_grid.setCell(row, 10, fields.field(7));
    }
    m_rowPending = true;
}

void RecordDecoder::smWriteData2(const QString &line)
{
    const qsizetype s1 = line.indexOf(kSemicolon);
    if (s1 < 0)
        return;
    const qsizetype s2 = line.indexOf(kSemicolon, s1 + 1);
    const QString number = line.left(s1).mid(1);
    // A line with one ";" has its rest as the value and no temperature.
    const QString value = s2 < 0 ? line.mid(s1 + 1) : line.mid(s1 + 1, s2 - s1 - 1);
    const QString temperature = s2 < 0 ? QString() : line.mid(s2 + 1);

    GridRedrawPause pause(m_grid);
    int row = m_grid.rowCount();
    if (!m_rowPending || row < 1) {
        row += 1;
        m_grid.setRowCount(row);
        if (m_mixed)
            m_grid.setCell(row, kQuantityColumn, m_quantity);
    }
    m_grid.setCurrentRow(row);
    m_grid.setCell(row, 5, number);
    m_grid.setCell(row, 6, value);
    m_grid.setCell(row, 7, temperature);
    m_rowPending = false;
    ++m_readings;
}

void RecordDecoder::applyColumnLayout()
{
    const bool atm = m_state.flags.enableAtm != 0;
    const bool quantity = hasQuantityColumn(m_grid);
    GridRedrawPause pause(m_grid);
    const int wanted = quantity ? kQuantityColumn : atm ? 10 : 7;
    const bool changed = m_grid.columnCount() != wanted;
    if (changed)
        m_grid.setColumnCount(wanted);
    if (atm && (changed || quantity)) {
        m_grid.setCell(0, 8, fixed(linkid::kFixedAtmHpa));
        m_grid.setCell(0, 9, fixed(linkid::kFixedAtmHpa));
        m_grid.setCell(0, 10, fixed(linkid::kFixedAtmFlag));
    }
    if (atm || quantity)
        hideColumnsForOptions(m_state, m_grid);
}

void RecordDecoder::reset()
{
    m_titleSet = false;
    m_rowPending = false;
    m_quantity.clear();
    m_firstQuantity.clear();
    m_firstGroupRow = 0;
    m_mixed = false;
    m_readings = 0;
    m_grid.setRowCount(0);
    setQuantityColumn(m_state, m_grid, false);
}
