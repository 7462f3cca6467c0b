#pragma once

#include <QString>
#include <array>

// The duct sizes of the parameter dialog while it is open: the three base sizes and the unit
// they are expressed in. The size fields are always written from these, so switching units back
// and forth accumulates no error.
//
// A valid entry makes the unit on display the base unit; the other two base sizes are converted
// into it at that moment, so all three are always in the base unit. An invalid entry puts back
// the field's base size converted to the unit on display.
class DuctBaseSizes
{
public:
    enum Field { Width = 0, Height = 1, Diameter = 2 };

    // The stored sizes, in the stored unit (when the dialog loads).
    void load(int unit, float width, float height, float diameter);

    int baseUnit() const { return m_unit; }
    float base(Field field) const { return m_sizes[size_t(field)]; }

    // The text of a field in `unit` ("0.000").
    QString textIn(Field field, int unit) const;
    // The three field texts in `unit` (choosing a unit: width, height, diameter).
    std::array<QString, 3> textsIn(int unit) const;

    struct Entry
    {
        bool valid;   // false: the message "the value of input is error!" is due
        QString text; // the field's new text
    };
    // Leaving a size field with `text` while `displayUnit` is selected: a size above 0 and at
    // most 1,000,000 is taken (rewritten with three decimals); anything else is refused.
    Entry leaveField(Field field, const QString &text, int displayUnit);

private:
    int m_unit = 0;
    std::array<float, 3> m_sizes{10.0f, 10.0f, 10.0f};
};
