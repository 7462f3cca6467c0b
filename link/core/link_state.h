#pragma once

#include "common/core/language.h"
#include "common/core/option_flags.h"
#include "common/core/port_tables.h"
#include "common/core/string_table.h"

#include <QString>
#include <array>

class MessagePresenter;

// The program-wide state of ventlink: status code, idle flag, language, cached texts, options and
// the attached instruments.
struct LinkState
{
    static constexpr auto kApplicationTitle = "Ventolux PC-LINK Software";

    qint16 gLinkStatus = 0;
    qint16 idle = 1;
    qint16 languageOffset = 0;
    qint16 charset = 0;
    Texts texts;

    std::array<QString, 101> errorTexts;  // index n (1..11) = string 900 + n
    std::array<QString, 2> statusTexts;   // 751 "Display ", 752 "Read Data"
    std::array<QString, 2> degreeTexts;   // 671 "deg.C", 672 "deg.F"
    OptionFlags flags;
    PortTables ports;

    MessagePresenter *presenter = nullptr;
    // Shown below the next status message, then cleared: the file or port that failed and the
    // system's reason.
    QString statusDetail;

    QString localText(int id) const { return texts.value(languageOffset + id); }
};

// Start-up language of ventlink: 1033 gives offset 0 and character set 0, 1041 gives 10000 and
// 128, 2052 gives 10000 and 0, anything else 0 and 0.
void selectLinkLanguage(LinkState &state, const Language::Choice &choice);

// Loads the cached texts: error texts 1..11, status texts, degree texts and the character set
// (string 791). Returns -10000, or -20000 after "Error reading from resource file.".
qint16 loadLinkStrings(LinkState &state);
