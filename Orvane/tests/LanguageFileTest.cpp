#include "Core/CCommandLine.h"
#include "QtPrinters.h"
#include "Text/CLanguageResources.h"
#include <gtest/gtest.h>

namespace {

QString Message(const QString& id)
{
    return CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), id);
}

// The shipped language file holds a text for every message the host and the engine look up. The engine's
// tests take their expected texts from this file, so a missing text would pass there unseen.
TEST(ShippedLanguageFile, HasEveryHostMessage)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    for (const char* id : {"id_fatal_error",
                           "id_reinstall",
                           "id_no_converter",
                           "id_import_plugmissing",
                           "id_no_sms_translator",
                           "id_no_profile",
                           "id_warning",
                           "id_param_loaded_failed",
                           "id_plugin_info",
                           "id_help_header",
                           "id_already_exists",
                           "id_animated_gif",
                           "id_animated_gif_offered",
                           "id_batch_entry_invalid",
                           "id_cancel_caption",
                           "id_convert_failed",
                           "id_converter_unavailable",
                           "id_converting",
                           "id_convertion_failed",
                           "id_convertion_success",
                           "id_currently_converting",
                           "id_failed_to_load",
                           "id_failed_to_save",
                           "id_import_failed",
                           "id_import_warning",
                           "id_importing",
                           "id_launch_failed0",
                           "id_launch_failed1",
                           "id_launching",
                           "id_media_toobig",
                           "id_no_caption",
                           "id_no_valid_conversion",
                           "id_opening_failed",
                           "id_opening_file",
                           "id_param_saved_failed",
                           "id_picture_toobig",
                           "id_please_wait",
                           "id_processing",
                           "id_profile_not_compatible",
                           "id_saving_failed",
                           "id_saving_file",
                           "id_select_converter_failed",
                           "id_select_importer_failed",
                           "id_select_profile_failed",
                           "id_source_missing",
                           "id_translating",
                           "id_translation_failed",
                           "id_warning_media_toobig",
                           "id_yes_caption",
                           "id_yes_to_all_caption",
                           "id_logfile_is_source",
                           "id_logfile_failed",
                           "id_result_name_taken",
                           "id_result_is_source",
                           "id_result_is_logfile",
                           "id_logfile_write_failed",
                           "id_source_name_unreadable",
                           "id_opening_failed_because",
                           "id_saving_failed_because",
                           "id_param_loaded_failed_because",
                           "id_param_file_not_valid",
                           "id_failed_to_translate",
                           "id_failed_to_convert",
                           "id_param_read_failed",
                           "id_file_is_empty",
                           "id_source_unreadable",
                           "id_profile_option_missing",
                           "id_converter_option_missing",
                           "id_help_footer",
                           "id_profile_refused",
                           "id_destination_name_unreadable",
                           "id_pattern_matched_nothing",
                           "id_logfile_is_parameter_file",
                           "id_logfile_name_unreadable",
                           "id_result_is_parameter_file",
                           "id_logfile_is_named_file",
                           "id_logfile_is_startup_file"})
        EXPECT_FALSE(Message(QString::fromLatin1(id)).isEmpty()) << id;
    EXPECT_TRUE(Message(QStringLiteral("id_param_loaded_failed")).contains(QStringLiteral("%1")));
    EXPECT_TRUE(Message(QStringLiteral("id_plugin_info")).contains(QStringLiteral("%3")));

    // The help lists the seven documented options and hides the three others.
    const QString help = FormatHelp(0x00020003, &Message);
    EXPECT_TRUE(help.startsWith(QStringLiteral("Orvane 2.3")));
    // After a blank line, the last line says how to name a source that looks like an option.
    EXPECT_TRUE(help.endsWith(QStringLiteral("\n\n") + Message(QStringLiteral("id_help_footer")) + QLatin1Char('\n')));
    EXPECT_TRUE(help.contains(QStringLiteral("//previews/tune.mid")));
    for (int row = 0; row < CCommandLine::OptionCount(); ++row) {
        const QString line = QStringLiteral("\n/") + QString::fromLatin1(CCommandLine::Options()[row].text);
        EXPECT_EQ(help.count(line), row < 7 ? 1 : 0) << CCommandLine::Options()[row].text;
    }
    CLanguageResources::Load(QString());
}

} // namespace
