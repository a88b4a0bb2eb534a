#include "Core/CCommandLine.h"
#include "Text/CLanguageResources.h"
#include "QtPrinters.h"
#include <gtest/gtest.h>

namespace {

QString Message(const QString& id)
{
    return CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), id);
}

// The shipped language file holds a text for every message the host looks up.
TEST(ShippedLanguageFile, HasEveryHostMessage)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    for (const char* id : {"id_fatal_error", "id_reinstall", "id_no_converter", "id_import_plugmissing",
                           "id_no_sms_translator", "id_no_profile", "id_warning", "id_param_loaded_failed",
                           "id_plugin_info", "id_help_header", "id_cmdline_unavailable", "id_window_unavailable"})
        EXPECT_FALSE(Message(QString::fromLatin1(id)).isEmpty()) << id;
    EXPECT_TRUE(Message(QStringLiteral("id_param_loaded_failed")).contains(QStringLiteral("%1")));
    EXPECT_TRUE(Message(QStringLiteral("id_plugin_info")).contains(QStringLiteral("%3")));

    // The help lists the seven documented options and hides the three others.
    const QString help = FormatHelp(0x00020003, &Message);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Orvane 2.3")));
    EXPECT_TRUE(help.endsWith(QStringLiteral("\n\n")));
    for (int row = 0; row < CCommandLine::OptionCount(); ++row) {
        const QString line = QStringLiteral("\n/") + QString::fromLatin1(CCommandLine::Options()[row].text);
        EXPECT_EQ(help.count(line), row < 7 ? 1 : 0) << CCommandLine::Options()[row].text;
    }
    CLanguageResources::Load(QString());
}

} // namespace
