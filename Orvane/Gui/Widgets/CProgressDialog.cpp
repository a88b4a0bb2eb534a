#include "Gui/Widgets/CProgressDialog.h"
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CProgressDialog::CProgressDialog(QWidget* parent, const QString& name)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(name);
    setModal(true);

    auto* box = new QVBoxLayout(this);

    auto* textRow = new QHBoxLayout;
    textRow->setContentsMargins(5, 5, 5, 5);
    textRow->setSpacing(5);
    m_pLabel = new QLabel(this);
    m_pLabel->setAlignment(Qt::AlignCenter);
    m_pLabel->setFixedWidth(250);
    textRow->addWidget(m_pLabel, 1);
    box->addLayout(textRow);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(5, 5, 5, 5);
    buttonRow->setSpacing(5);
    buttonRow->addStretch(1);
    m_pButton = new QPushButton(this);
    m_pButton->hide();
    buttonRow->addWidget(m_pButton);
    box->addLayout(buttonRow);

    connect(m_pButton, &QPushButton::clicked, this, &CProgressDialog::Clicked);
    setMinimumSize(250, 100);
}

void CProgressDialog::SetText(const QString& text)
{
    m_pLabel->setText(text);
}

void CProgressDialog::SetButton(const QString& caption, bool enabled)
{
    if (caption.isNull()) {
        m_pButton->hide();
    } else {
        m_pButton->setText(caption);
        m_pButton->show();
    }
    m_pButton->setEnabled(enabled);
}

void CProgressDialog::Clicked()
{
    if (!m_pButton->isEnabled())
        return;
    m_pButton->setEnabled(false);
    emit ButtonClicked();
}

// Escape asks for cancellation like the button and leaves the dialog open; its creator closes it.
void CProgressDialog::reject()
{
    if (!m_pButton->isEnabled())
        return;
    m_pButton->setEnabled(false);
    emit Rejected();
}

void CProgressDialog::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
