// Every text, picture and sound that the windows look up is in the shipped language file and its resources.
#include "Core/CUserPrompt.h"
#include "Text/CLanguageResources.h"
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Item
{
    const char* className;
    std::vector<const char*> messages;
    std::vector<const char*> pictures;
    std::vector<const char*> sounds;
};

TEST(ShippedWindowTexts, EveryIdHasItsTextPictureOrSound)
{
    ASSERT_TRUE(CLanguageResources::Load(QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/English.xml")));
    const QString resources = QStringLiteral(ORV_SOURCE_DIR "/data/app/Languages/resources/");
    CLanguageResources::SetResourceFolder(resources);
    const std::vector<Item> items = {
        {"OrvaneMainWindow",
         {"id_titlewindow",
          "id_file_menu",
          "id_setting_item",
          "id_enable_warning",
          "id_enable_resize",
          "id_plugin_item",
          "id_quit_item",
          "id_media_menu",
          "id_sms_menu",
          "id_batch_menu",
          "id_open_item",
          "id_close_item",
          "id_convert_item",
          "id_save_item",
          "id_save_as_item",
          "id_generate_item",
          "id_generate_as_item",
          "id_new_item",
          "id_launch_item",
          "id_Target_menu",
          "id_help_menu",
          "id_help_about_item",
          "id_help_index_item",
          "id_title_help_window",
          "id_warning_title",
          "id_warning_text",
          "id_unsaved_result_close_media",
          "id_unsaved_result_open_media",
          "id_unsaved_result_change_phone",
          "id_yes_caption",
          "id_no_caption",
          "id_about_title",
          "id_about_product_name",
          "id_about_copyright",
          "id_about_licensed_to",
          "id_about_product_version",
          "id_about_built_on",
          "id_plugin_info"},
         {"id_brimsel_logo_icon", "id_brimsel_header", "id_about_logo"},
         {}},
        {"COrvTabview",
         {"id_media_tab", "id_sms_tab", "id_batch_tab", "id_warning_title", "id_warning_save_text", "id_yes_caption",
          "id_no_caption"},
         {},
         {}},
        {"CDiskSelectorControl", {"id_tool_tip_cdup_button"}, {}, {}},
        {"CFileSelectorControl",
         {"id_first_column", "id_second_column", "id_third_column", "id_fourth_column"},
         {},
         {}},
        {"CBrimselIcon", {}, {"id_brimsel_icon"}, {}},
        {"CHelpWnd",
         {},
         {"id_help_home_normal", "id_help_home_activated", "id_help_backward_normal", "id_help_backward_activated",
          "id_help_backward_disabled", "id_help_forward_normal", "id_help_forward_activated",
          "id_help_forward_disabled", "id_brimsel_icon", "id_brimsel_logo_icon"},
         {}},
        {"CPlayerControl", {"id_play_tt", "id_stop_tt", "id_prev_tt", "id_next_tt"}, {}, {}},
        {"CPreviewPanel", {"id_preview_play"}, {}, {"id_blank"}},
        {"CResizeDialog",
         {"id_ok",
          "id_cancel",
          "id_op",
          "id_scale",
          "id_crop",
          "id_params",
          "id_source",
          "id_result",
          "id_scale_x",
          "id_scale_y",
          "id_size_x",
          "id_size_y",
          "id_offset_x",
          "id_offset_y",
          "id_free",
          "id_source_preview",
          "id_result_preview",
          "id_resize_option",
          "id_frame_set",
          "id_keep_caption",
          "id_delay_unit"},
         {"id_brimsel_logo_icon"},
         {}},
        {"CBatchSelectorPanel",
         {"id_batch_source_panel", "id_recursive_caption", "id_tool_tip_directory_selection",
          "id_tool_tip_file_and_directory_list"},
         {},
         {}},
        {"CParamsSelectorPanel",
         {"id_parameter_files_panel", "id_load_caption", "id_save_caption", "id_tool_tip_batch_load_button",
          "id_tool_tip_batch_save_button", "id_warning_title", "id_warning_save_title", "id_param_saved_failed",
          "id_param_loaded_failed", "id_overwrite_text", "id_yes_caption", "id_no_caption", "id_row_missing"},
         {},
         {}},
        {"CSelectorEdit",
         {"id_tool_tip_batch_checkbox_button", "id_tool_tip_batch_parameters_file_name",
          "id_tool_tip_batch_push_button"},
         {},
         {}},
        {"CMediaSelectorPanel",
         {"id_source_panel", "id_preview_panel", "id_tool_tip_directory_selection",
          "id_tool_tip_file_and_directory_list", "id_tool_tip_selected_file_name_line_edit",
          "id_tool_tip_converter_control", "id_tool_tip_source_preview", "id_warning_title", "id_warning_text",
          "id_warning_save_text", "id_yes_caption", "id_no_caption", "id_profile_warning_title",
          "id_profile_warning_text"},
         {},
         {}},
        {"CConverterPanel",
         {"id_converter_parameter_title", "id_load_default_caption", "id_save_caption", "id_load_caption",
          "id_tool_tip_converter_parameters_load_default_button", "id_tool_tip_converter_parameters_save_button",
          "id_tool_tip_converter_parameters_load_button", "id_warning_title", "id_warning_text", "id_yes_caption",
          "id_no_caption", "id_overwrite_text", "id_param_not_recognised"},
         {},
         {}},
        {"CDestinationSelectorPanel",
         {"id_destination_panel",
          "id_folder_gone",
          "id_tool_tip_folder_selection",
          "id_tool_tip_file_selection",
          "id_preview_caption",
          "id_raw_data_caption",
          "id_convert_caption",
          "id_tool_tip_convert_button",
          "id_save_caption",
          "id_tool_tip_save_button",
          "id_generate_caption",
          "id_tool_tip_generate_button",
          "id_launch_caption",
          "id_tool_tip_launch_button",
          "id_tool_tip_dest_file_indicator",
          "id_preview_result_panel",
          "id_tool_tip_result_preview",
          "id_titlewindow",
          "id_warning_title",
          "id_warning_text",
          "id_warning_preview_title",
          "id_warning_no_preview_text",
          "id_warning_preview_text",
          "id_warning_preview_no_match_text",
          "id_ok_caption",
          "id_yes_caption",
          "id_no_caption"},
         {"id_brimsel_logo_icon"},
         {}},
        {"CParameterView", {"id_reset_all", "id_reset", "id_min_max", "id_min", "id_max"}, {}, {}},
    };
    for (const Item& item : items) {
        const QString name = QString::fromLatin1(item.className);
        for (const char* id : item.messages)
            EXPECT_FALSE(CLanguageResources::GetMessage(name, QString::fromLatin1(id)).isEmpty())
                << item.className << " " << id;
        for (const char* id : item.pictures) {
            const QString path = CLanguageResources::GetPicture(name, QString::fromLatin1(id));
            EXPECT_TRUE(path.startsWith(resources) && path.endsWith(QLatin1String(".png")) && QFile::exists(path))
                << item.className << " " << id;
        }
        for (const char* id : item.sounds)
            EXPECT_TRUE(QFile::exists(CLanguageResources::GetSound(name, QString::fromLatin1(id)))) << id;
    }
    // The plug-in list's rows divide at the underscore.
    EXPECT_TRUE(CLanguageResources::GetMessage(QStringLiteral("COrvApplication"), QStringLiteral("id_plugin_info"))
                    .startsWith(QStringLiteral("%1_")));
    CLanguageResources::SetResourceFolder(QString());
    CLanguageResources::Load(QString());
}

} // namespace

namespace {

// Without a screen nothing is chosen: file questions come back cancelled and information goes to the log.
TEST(LogPrompt, CancelsFileChoicesAndLogsInformation)
{
    QString logged;
    CLogPrompt prompt([&](const QString& text) { logged += text; });
    const QString filter = QStringLiteral("XML (*.XML *.xml)");
    EXPECT_TRUE(prompt.ChooseOpenFile(nullptr, QStringLiteral("/"), filter).isEmpty());
    EXPECT_TRUE(prompt.ChooseSaveFile(nullptr, QStringLiteral("/"), filter).isEmpty());
    prompt.ShowMessage(CUserPrompt::INFORMATION, QStringLiteral("About"), QStringLiteral("Orvane 2.3"));
    EXPECT_EQ(logged, QStringLiteral("Orvane 2.3\n"));
}

} // namespace
