#include "Gui/Panels/CParamsSelectorPanel.h"
#include "Core/CUserPrompt.h"
#include "Gui/Browsing/CDiskSelectorControl.h"
#include "Gui/Browsing/CFileSelectorControl.h"
#include "Gui/Browsing/CSelectorEdit.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Window/CGuiServices.h"
#include "Text/FailureReason.h"
#include "Xml/CXmlFile.h"
#include <QCheckBox>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

const QString FILTER = QStringLiteral("XML (*.XML *.xml)");
const QString ROOT = QStringLiteral("ORVANE_Batch_File");

QString Text(const char* id)
{
    return GuiText("CParamsSelectorPanel", id);
}

// Row elements are numbered in full, so a batch of any length reads back row by row.
QString RowTag(int row)
{
    return QStringLiteral("PlugIn%1").arg(row);
}

// An attribute value with the characters that XML would not keep as they are written as references.
QByteArray AttributeText(const QString& value)
{
    QByteArray text;
    for (const char c : value.toUtf8()) {
        switch (c) {
        case '&':
            text += "&amp;";
            break;
        case '<':
            text += "&lt;";
            break;
        case '>':
            text += "&gt;";
            break;
        case '"':
            text += "&quot;";
            break;
        case '\n':
            text += "&#xa;";
            break;
        case '\r':
            text += "&#xd;";
            break;
        case '\t':
            text += "&#x9;";
            break;
        default:
            text += c;
        }
    }
    return text;
}

} // namespace

CParamsSelectorPanel::CParamsSelectorPanel(QWidget* parent, const QString& name, int diskSelectorLayout)
    : CSingleFileSelectorPanel(parent, name, diskSelectorLayout), mpScrollView(new QScrollArea(this))
{
    setTitle(Text("id_parameter_files_panel"));
    // The rows take the place of the folder browsing.
    mpDiskSelector->hide();
    mpFileList->hide();
    mpScrollView->setObjectName(QStringLiteral("QScrollView"));
    mpScrollView->setWidgetResizable(true);
    PanelLayout()->addWidget(mpScrollView, 1);
    MakeContentBox();
}

void CParamsSelectorPanel::MakeContentBox()
{
    mpContentBox = new QWidget;
    auto* column = new QVBoxLayout(mpContentBox);
    mpButtonGroup = new QWidget(mpContentBox);
    mpButtonGroup->setObjectName(QStringLiteral("QButtonGroup"));
    new QVBoxLayout(mpButtonGroup);
    column->addWidget(mpButtonGroup);
    column->addStretch(1);
    mpScrollView->setWidget(mpContentBox);
}

void CParamsSelectorPanel::show()
{
    if (!mBuilt) {
        emit GetCurrentPath(mCurrentPath);
        BuildEntries();
        NewBatch();
        mBuilt = true;
    }
    QWidget::show();
}

void CParamsSelectorPanel::BuildEntries()
{
    QStringList names;
    emit GetEntireNameList(names);
    int width = 0;
    for (const QString& name : names) {
        QCheckBox measure(name);
        width = qMax(width, measure.sizeHint().width());
    }
    auto* rows = static_cast<QVBoxLayout*>(mpButtonGroup->layout());
    for (const QString& name : names) {
        auto* row = new CSelectorEdit(mpButtonGroup, QStringLiteral("CSelectorEdit"), name, width);
        rows->addWidget(row);
        mRows.append(row);
        CheckConnection(connect(row, &CSelectorEdit::GetCurrentPath, this, &CParamsSelectorPanel::GetCurrentPath));
    }
    auto* buttonBox = new QWidget(mpContentBox);
    buttonBox->setObjectName(QStringLiteral("buttonHBox"));
    auto* buttons = new QHBoxLayout(buttonBox);
    mpLoadButton = new QPushButton(Text("id_load_caption"), buttonBox);
    mpLoadButton->setObjectName(QStringLiteral("LoadPushButton"));
    mpLoadButton->setToolTip(Text("id_tool_tip_batch_load_button"));
    mpSaveButton = new QPushButton(Text("id_save_caption"), buttonBox);
    mpSaveButton->setObjectName(QStringLiteral("SavePushButton"));
    mpSaveButton->setToolTip(Text("id_tool_tip_batch_save_button"));
    for (QPushButton* button : {mpLoadButton, mpSaveButton}) {
        button->setFont(QFont(QStringLiteral("Helvetica"), 8, QFont::Normal));
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    static_cast<QVBoxLayout*>(mpContentBox->layout())->insertWidget(1, buttonBox);
    if (!connect(mpSaveButton, &QPushButton::clicked, this, &CParamsSelectorPanel::Save)
        || !connect(mpLoadButton, &QPushButton::clicked, this, &CParamsSelectorPanel::Load))
        qDebug("Error connecting a signal to another signal 1");
}

void CParamsSelectorPanel::SetFileList(const QStringList*) {}

void CParamsSelectorPanel::LoadPanel(CDatabase&) {}

void CParamsSelectorPanel::SetCurrentFile(QString&) {}

void CParamsSelectorPanel::SetListOfConverterName(QStringList* names)
{
    mpConverterNames = names;
}

void CParamsSelectorPanel::NewBatch()
{
    for (CSelectorEdit* row : mRows) {
        row->SetFileName(QString());
        row->GetCheckBox()->setChecked(false);
    }
}

void CParamsSelectorPanel::Warn(const char* titleId, const char* textId, const QString& file, const QString& reason)
{
    CGuiServices::Prompt().ShowMessage(CUserPrompt::WARNING, Text(titleId),
                                       WithFailureReason(Text(textId).arg(file), reason));
}

void CParamsSelectorPanel::Save()
{
    QString file = CGuiServices::Prompt().ChooseSaveFile(this, QString(), FILTER);
    if (file.isEmpty())
        return;
    if (!file.contains(QLatin1String(".xml"), Qt::CaseInsensitive))
        file += QStringLiteral(".xml");
    // The dialog asked about the name typed, not the one written.
    if (QFileInfo::exists(file)) {
        const int answer =
            CGuiServices::Prompt().Ask(Text("id_warning_save_title"), Text("id_overwrite_text").arg(file),
                                       {Text("id_yes_caption"), Text("id_no_caption")}, 1, 1);
        if (answer != 0)
            return;
    }
    // Written by hand so that each row's attributes keep their order, and whole or not at all.
    QByteArray text = "<!DOCTYPE " + ROOT.toUtf8() + ">\n<" + ROOT.toUtf8() + ">\n";
    for (int i = 0; i < mRows.size(); ++i) {
        const CSelectorEdit* row = mRows.at(i);
        text += "<" + RowTag(i).toUtf8() + " Caption=\"" + AttributeText(row->GetCaption()) + "\" FileName=\""
                + AttributeText(row->GetFileName()) + "\" Checked=\""
                + (row->GetCheckBox()->isChecked() ? "true" : "false") + "\"/>\n";
    }
    text += "</" + ROOT.toUtf8() + ">\n";
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        Warn("id_warning_save_title", "id_param_saved_failed", file, out.errorString());
}

void CParamsSelectorPanel::Load()
{
    if (!mLoadFolderSet) {
        mLoadFolder = mCurrentPath;
        mLoadFolderSet = true;
    }
    const QString file = CGuiServices::Prompt().ChooseOpenFile(this, mLoadFolder, FILTER);
    if (file.isEmpty())
        return;
    mLoadFolder = QFileInfo(file).absolutePath();
    CXmlFile xml;
    if (!xml.Load(file)) {
        Warn("id_warning_title", "id_param_loaded_failed", file, xml.GetLoadError());
        return;
    }
    for (int i = 0; i < mRows.size(); ++i) {
        if (!xml.GoToElement(RowTag(i))) {
            Warn("id_warning_title", "id_param_loaded_failed", file, Text("id_row_missing").arg(RowTag(i)));
            return;
        }
        CSelectorEdit* row = mRows.at(i);
        QString caption;
        QString checked;
        QString fileName;
        xml.GetStringAttribute(QStringLiteral("Caption"), caption);
        xml.GetStringAttribute(QStringLiteral("Checked"), checked);
        if (caption == row->GetCaption()) {
            row->GetCheckBox()->setChecked(checked == QLatin1String("true"));
            if (xml.GetStringAttribute(QStringLiteral("FileName"), fileName))
                row->SetFileName(fileName);
        } else {
            // Stored for another converter: this row is left out of the batch.
            row->GetCheckBox()->setChecked(false);
            row->SetFileName(QString());
        }
        xml.GoToParent();
    }
}

void CParamsSelectorPanel::GetParamsFileNameList(QStringList& list)
{
    for (const CSelectorEdit* row : mRows)
        list.append(row->GetFileName());
}

void CParamsSelectorPanel::IsChecked(B32* checked, int row)
{
    *checked = row >= 0 && row < mRows.size() && mRows.at(row)->GetCheckBox()->isChecked() ? 1 : 0;
}

void CParamsSelectorPanel::UpdateConverterList()
{
    if (!mBuilt)
        return;
    mRows.clear();
    delete mpScrollView->takeWidget();
    MakeContentBox();
    BuildEntries();
    mpContentBox->show();
}
