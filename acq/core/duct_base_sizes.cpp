#include "acq/core/duct_base_sizes.h"

#include "acq/core/duct_units.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

void DuctBaseSizes::load(int unit, float width, float height, float diameter)
{
    m_unit = unit;
    m_sizes = {width, height, diameter};
}

QString DuctBaseSizes::textIn(Field field, int unit) const
{
    return DuctUnits::sizeText(DuctUnits::convert(m_sizes[size_t(field)], m_unit, unit));
}

std::array<QString, 3> DuctBaseSizes::textsIn(int unit) const
{
    return {textIn(Width, unit), textIn(Height, unit), textIn(Diameter, unit)};
}

DuctBaseSizes::Entry DuctBaseSizes::leaveField(Field field, const QString &text, int displayUnit)
{
    float value = 0;
    if (fCheckRange(&value, text, DuctUnits::kMinimumSize, DuctUnits::kMaximumSize)
        == status::kFailure)
        return {false, textIn(field, displayUnit)};

    const QString rewritten = NumberFormat::formatText(text, QStringLiteral("0.000"));
    if (displayUnit != m_unit) {
        for (float &size : m_sizes)
            size = DuctUnits::convert(size, m_unit, displayUnit);
        m_unit = displayUnit;
    }
    m_sizes[size_t(field)] = NumberFormat::parseSingle(rewritten).value_or(value);
    return {true, rewritten};
}
