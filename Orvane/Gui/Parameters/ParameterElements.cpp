#include "Gui/Parameters/ParameterElements.h"
#include "Gui/Widgets/GuiResources.h"
#include "Gui/Widgets/WheelGuard.h"
#include "Parameters/CEnumType.h"
#include "Parameters/CParameter.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <algorithm>
#include <cfloat>
#include <climits>

namespace {

const QString kTrue = QStringLiteral("true");
const QString kFalse = QStringLiteral("false");

QString FloatText(float value)
{
    return QString::number(value, 'g', 6);
}

// Numbers beyond the type's own range still clamp to the parameter's bounds instead of failing to parse.
bool ParseInt(const QString& text, int32_t& value)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok)
        return false;
    value = static_cast<int32_t>(std::clamp<qlonglong>(n, INT_MIN, INT_MAX));
    return true;
}

bool ParseFloat(const QString& text, float& value)
{
    bool ok = false;
    const double n = text.toDouble(&ok);
    if (!ok || n != n)
        return false;
    value = static_cast<float>(std::clamp<double>(n, -FLT_MAX, FLT_MAX));
    return true;
}

template <typename T>
T Clamp(T n, T min, T max)
{
    if (n > max)
        n = max;
    if (n < min)
        n = min;
    return n;
}

QString RangeText(bool hasMin, bool hasMax, const QString& min, const QString& max)
{
    if (hasMin && hasMax)
        return GuiText("CParameterView", "id_min_max").arg(min, max);
    if (hasMin)
        return GuiText("CParameterView", "id_min").arg(min);
    if (hasMax)
        return GuiText("CParameterView", "id_max").arg(max);
    return QString();
}

// A lone sign may start a number that the bounds allow.
bool IsLoneSign(const QString& text, bool negativeAllowed, bool positiveAllowed)
{
    return (text == QStringLiteral("-") && negativeAllowed) || (text == QStringLiteral("+") && positiveAllowed);
}

} // namespace

QString MakeRangeText(const CParameter* parameter)
{
    if (!parameter)
        return QString();
    if (parameter->mType == CParameter::INT_TYPE) {
        const auto* p = static_cast<const CIntParameter*>(parameter);
        return RangeText(p->mMin != INT_MIN, p->mMax != INT_MAX, QString::number(p->mMin), QString::number(p->mMax));
    }
    if (parameter->mType == CParameter::FLOAT_TYPE) {
        const auto* p = static_cast<const CFloatParameter*>(parameter);
        return RangeText(p->mMin != -FLT_MAX, p->mMax != FLT_MAX, QString::number(p->mMin), QString::number(p->mMax));
    }
    return QString();
}

// ---- ParameterValidator

ParameterValidator::ParameterValidator(CParameter* parameter, QObject* parent)
    : QValidator(parent), mpParameter(parameter)
{}

QValidator::State ParameterValidator::validate(QString& text, int& pos) const
{
    if (!mQuiet && !mShown.isNull() && text == mShown)
        return Acceptable;
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE:
        return text == kTrue || text == kFalse ? Acceptable : Intermediate;
    case CParameter::INT_TYPE: {
        auto* p = static_cast<CIntParameter*>(mpParameter);
        int32_t n = 0;
        if (!ParseInt(text, n)) {
            if (IsLoneSign(text, p->mMin<0, p->mMax> 0))
                return Intermediate;
            text.clear();
            pos = 0;
            return Invalid;
        }
        if (!p->mIsConst && !IsUntouched(text))
            p->mValue = Clamp(n, p->mMin, p->mMax);
        return n == p->mValue ? Acceptable : Intermediate;
    }
    case CParameter::FLOAT_TYPE: {
        auto* p = static_cast<CFloatParameter*>(mpParameter);
        float n = 0;
        if (!ParseFloat(text, n)) {
            if (IsLoneSign(text, p->mMin<0, p->mMax> 0))
                return Intermediate;
            text.clear();
            pos = 0;
            return Invalid;
        }
        if (!p->mIsConst && !IsUntouched(text))
            p->mValue = Clamp(n, p->mMin, p->mMax);
        return n == p->mValue ? Acceptable : Intermediate;
    }
    default:
        return Acceptable;
    }
}

void ParameterValidator::fixup(QString& text) const
{
    if (IsUntouched(text))
        return;
    const bool write = !mpParameter->mIsConst;
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE:
        // The toolkit fixes a line up before it reports the focus loss: an emptied line is left to the
        // element, which gives it the old value back.
        if (text.isEmpty())
            break;
        if (text != kTrue)
            text = kFalse;
        if (write)
            static_cast<CBoolParameter*>(mpParameter)->mValue = text == kTrue;
        break;
    case CParameter::INT_TYPE: {
        auto* p = static_cast<CIntParameter*>(mpParameter);
        int32_t n = p->mValue;
        ParseInt(text, n);
        if (write)
            p->mValue = Clamp(n, p->mMin, p->mMax);
        text = QString::number(p->mValue);
        break;
    }
    case CParameter::FLOAT_TYPE: {
        auto* p = static_cast<CFloatParameter*>(mpParameter);
        float n = p->mValue;
        ParseFloat(text, n);
        if (write)
            p->mValue = Clamp(n, p->mMin, p->mMax);
        text = FloatText(p->mValue);
        break;
    }
    case CParameter::STRING_TYPE:
        text = static_cast<CStringParameter*>(mpParameter)->mValue;
        break;
    default:
        break;
    }
}

// ---- Edit, SEdit

void Edit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    emit LostFocus();
}

SEdit::SEdit(ParameterValidator* validator, QWidget* parent) : QSpinBox(parent), mpValidator(validator) {}

QValidator::State SEdit::validate(QString& text, int& pos) const
{
    return mpValidator->validate(text, pos);
}

void SEdit::fixup(QString& text) const
{
    mpValidator->fixup(text);
}

void SEdit::focusOutEvent(QFocusEvent* event)
{
    QSpinBox::focusOutEvent(event);
    emit LostFocus();
}

void SEdit::leaveEvent(QEvent* event)
{
    QSpinBox::leaveEvent(event);
    emit LostFocus();
}

// ---- SimpleElement

SimpleElement::SimpleElement(CParameter* parameter, bool withLabels, QWidget* parent)
    : Element(parent), mpParameter(parameter), mWithLabels(withLabels)
{}

void SimpleElement::SetValueWidget(QWidget* value)
{
    mpValue = value;
    // Tab leads from one field of the form to the next; a click takes a field too. The wheel scrolls the form
    // over a field that the user has not taken.
    TakeWheelOnlyWithFocus(value);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    if (mWithLabels) {
        mpCaption = new QLabel(this);
        mpPrefix = new QLabel(this);
        mpSuffix = new QLabel(this);
        // The form sits in a narrow column: a long caption wraps rather than runs out of sight.
        mpCaption->setWordWrap(true);
        // So does a long unit ("beats per minute") beside the value.
        mpSuffix->setWordWrap(true);
        grid->addWidget(mpCaption, 0, 0);
        row->addWidget(mpPrefix);
        row->addWidget(value);
        row->addWidget(mpSuffix, 1);
    } else {
        row->addWidget(value, 1);
    }
    grid->addLayout(row, mWithLabels ? 1 : 0, 0);
}

int SimpleElement::GetPrefixWidth() const
{
    return mpPrefix ? mpPrefix->sizeHint().width() : 0;
}

void SimpleElement::SetPrefixWidth(int width)
{
    if (mpPrefix)
        mpPrefix->setFixedWidth(width);
}

void SimpleElement::SetCaption(const QString& text)
{
    if (mpCaption)
        mpCaption->setText(text);
}

void SimpleElement::SetPrefix(const QString& text)
{
    if (mpPrefix)
        mpPrefix->setText(text);
}

void SimpleElement::SetSuffix(const QString& text)
{
    if (mpSuffix)
        mpSuffix->setText(text);
}

QString SimpleElement::GetValueText() const
{
    if (!mpParameter)
        return QString();
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE:
        return static_cast<CBoolParameter*>(mpParameter)->mValue ? kTrue : kFalse;
    case CParameter::INT_TYPE:
        return QString::number(static_cast<CIntParameter*>(mpParameter)->mValue);
    case CParameter::FLOAT_TYPE:
        return FloatText(static_cast<CFloatParameter*>(mpParameter)->mValue);
    case CParameter::STRING_TYPE:
        return static_cast<CStringParameter*>(mpParameter)->mValue;
    case CParameter::ENUM_TYPE:
        return static_cast<CEnumParameter*>(mpParameter)->mValue;
    default:
        return QString();
    }
}

void SimpleElement::Reset()
{
    if (mpParameter)
        mpParameter->Reset();
    UpdateValue();
}

// ---- Label

Label::Label(CParameter* parameter, bool withLabels, QWidget* parent)
    : SimpleElement(parameter, withLabels, parent), mpLabel(new QLabel(this))
{
    SetValueWidget(mpLabel);
    UpdateValue();
}

void Label::UpdateValue()
{
    mpLabel->setText(GetValueText());
}

int Label::GetValueWidth() const
{
    return mpLabel->sizeHint().width();
}

void Label::SetValueWidth(int width)
{
    mpLabel->setFixedWidth(width);
}

// ---- CheckBox

CheckBox::CheckBox(CParameter* parameter, bool withLabels, QWidget* parent)
    : SimpleElement(parameter, withLabels, parent), mpCheck(new QCheckBox(this))
{
    SetValueWidget(mpCheck);
    CheckConnection(connect(mpCheck, &QCheckBox::toggled, this, &CheckBox::Toggle));
    UpdateValue();
}

void CheckBox::UpdateValue()
{
    bool on = false;
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE:
        on = static_cast<CBoolParameter*>(mpParameter)->mValue;
        break;
    case CParameter::INT_TYPE:
        on = static_cast<CIntParameter*>(mpParameter)->mValue != 0;
        break;
    case CParameter::FLOAT_TYPE:
        on = static_cast<CFloatParameter*>(mpParameter)->mValue != 0.0f;
        break;
    case CParameter::STRING_TYPE:
        on = static_cast<CStringParameter*>(mpParameter)->mValue == kTrue;
        break;
    case CParameter::ENUM_TYPE:
        on = static_cast<CEnumParameter*>(mpParameter)->mValue == kTrue;
        break;
    default:
        break;
    }
    mUpdating = true;
    mpCheck->setChecked(on);
    mUpdating = false;
}

void CheckBox::Toggle(bool on)
{
    // A refresh only shows the value: an integer 5 shown as "on" must not come back as 1.
    const bool write = !mpParameter->mIsConst && !mUpdating;
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE:
        if (write)
            static_cast<CBoolParameter*>(mpParameter)->mValue = on;
        if (mpControlledWidget)
            mpControlledWidget->setEnabled(on);
        break;
    case CParameter::INT_TYPE:
        if (write) {
            auto* p = static_cast<CIntParameter*>(mpParameter);
            p->mValue = Clamp<int32_t>(on ? 1 : 0, p->mMin, p->mMax);
        }
        break;
    case CParameter::FLOAT_TYPE:
        if (write) {
            auto* p = static_cast<CFloatParameter*>(mpParameter);
            p->mValue = Clamp<float>(on ? 1.0f : 0.0f, p->mMin, p->mMax);
        }
        break;
    case CParameter::STRING_TYPE:
        if (write)
            static_cast<CStringParameter*>(mpParameter)->mValue = on ? kTrue : kFalse;
        break;
    default:
        break;
    }
    emit Changed();
}

// ---- LineEdit

LineEdit::LineEdit(CParameter* parameter, bool withLabels, QWidget* parent)
    : SimpleElement(parameter, withLabels, parent), mpEdit(new Edit(this)),
      mpValidator(new ParameterValidator(parameter, this))
{
    SetValueWidget(mpEdit);
    mpValidator->SetQuiet(true);
    mpEdit->setValidator(mpValidator);
    mpValidator->SetQuiet(false);
    CheckConnection(connect(mpEdit, &Edit::LostFocus, this, &LineEdit::Check));
    UpdateValue();
}

void LineEdit::UpdateValue()
{
    const QString text = GetValueText();
    mpValidator->SetShown(text);
    mpValidator->SetQuiet(true);
    mpEdit->setText(text);
    mpValidator->SetQuiet(false);
}

int LineEdit::GetValueWidth() const
{
    return mpEdit->sizeHint().width();
}

void LineEdit::SetValueWidth(int width)
{
    mpEdit->setFixedWidth(width);
}

void LineEdit::Check()
{
    // A text the user did not touch is the shown value: reading it back would only round it.
    if (!mpEdit->isModified())
        return;
    QString text = mpEdit->text();
    bool changed = false;
    const bool write = !mpParameter->mIsConst;
    switch (mpParameter->mType) {
    case CParameter::BOOL_TYPE: {
        auto* p = static_cast<CBoolParameter*>(mpParameter);
        const bool old = p->mValue;
        if (text.isEmpty())
            text = old ? kTrue : kFalse;
        if (write)
            p->mValue = text == kTrue;
        changed = p->mValue != old;
        break;
    }
    case CParameter::INT_TYPE: {
        auto* p = static_cast<CIntParameter*>(mpParameter);
        const int32_t old = p->mValue;
        if (text.isEmpty())
            text = QString::number(old);
        int32_t n = 0;
        ParseInt(text, n);
        if (write)
            p->mValue = Clamp(n, p->mMin, p->mMax);
        changed = p->mValue != old;
        text = QString::number(p->mValue);
        break;
    }
    case CParameter::FLOAT_TYPE: {
        auto* p = static_cast<CFloatParameter*>(mpParameter);
        const float old = p->mValue;
        if (text.isEmpty())
            text = FloatText(old);
        float n = 0;
        ParseFloat(text, n);
        if (write)
            p->mValue = Clamp(n, p->mMin, p->mMax);
        changed = p->mValue != old;
        text = FloatText(p->mValue);
        break;
    }
    case CParameter::STRING_TYPE: {
        auto* p = static_cast<CStringParameter*>(mpParameter);
        changed = p->mValue != text;
        if (write)
            p->mValue = text;
        break;
    }
    default:
        return;
    }
    mpValidator->SetShown(text);
    mpValidator->SetQuiet(true);
    mpEdit->setText(text);
    mpValidator->SetQuiet(false);
    if (changed)
        emit Changed();
}

// ---- SpinEdit

SpinEdit::SpinEdit(CParameter* parameter, bool withLabels, QWidget* parent)
    : SimpleElement(parameter, withLabels, parent), mpSpin(nullptr),
      mpValidator(new ParameterValidator(parameter, this))
{
    mpValidator->SetQuiet(true);
    mpSpin = new SEdit(mpValidator, this);
    SetValueWidget(mpSpin);
    if (parameter->mType == CParameter::INT_TYPE) {
        auto* p = static_cast<CIntParameter*>(parameter);
        mpSpin->setRange(p->mMin, p->mMax);
    }
    mpValidator->SetQuiet(false);
    CheckConnection(connect(mpSpin, &SEdit::LostFocus, this, &SpinEdit::Check));
    UpdateValue();
}

void SpinEdit::UpdateValue()
{
    if (mpParameter->mType != CParameter::INT_TYPE)
        return;
    const int32_t value = static_cast<CIntParameter*>(mpParameter)->mValue;
    mpValidator->SetShown(QString::number(value));
    mpValidator->SetQuiet(true);
    mpSpin->setValue(value);
    mpValidator->SetQuiet(false);
}

int SpinEdit::GetValueWidth() const
{
    return mpSpin->sizeHint().width();
}

void SpinEdit::SetValueWidth(int width)
{
    mpSpin->setFixedWidth(width);
}

void SpinEdit::Check()
{
    // The mouse may leave while a number is being typed: the spin box takes the text in first, or its value
    // would still be the one before the typing.
    mpSpin->interpretText();
    SCheck(mpSpin->value());
}

void SpinEdit::SCheck(int value)
{
    if (mpParameter->mType != CParameter::INT_TYPE)
        return;
    auto* p = static_cast<CIntParameter*>(mpParameter);
    // The validator may already have stored a typed number: the change counts from the last shown value.
    const int32_t old = p->mValue;
    if (!p->mIsConst)
        p->mValue = Clamp<int32_t>(value, p->mMin, p->mMax);
    UpdateValue();
    if (p->mValue != old)
        emit Changed();
}

// ---- ComboBox

ComboBox::ComboBox(CParameter* parameter, bool withLabels, QWidget* parent)
    : SimpleElement(parameter, withLabels, parent), mpCombo(new QComboBox(this))
{
    SetValueWidget(mpCombo);
    mpCombo->setEditable(false);
    if (parameter->mType == CParameter::ENUM_TYPE) {
        auto* p = static_cast<CEnumParameter*>(parameter);
        if (p->mpType)
            mpCombo->addItems(p->mpType->GetValues());
    } else {
        mpCombo->addItem(GetValueText());
    }
    CheckConnection(connect(mpCombo, &QComboBox::activated, this, &ComboBox::Activated));
    UpdateValue();
}

void ComboBox::UpdateValue()
{
    if (mpParameter->mType == CParameter::ENUM_TYPE)
        mpCombo->setCurrentText(static_cast<CEnumParameter*>(mpParameter)->mValue);
}

int ComboBox::GetValueWidth() const
{
    return mpCombo->sizeHint().width();
}

void ComboBox::SetValueWidth(int width)
{
    mpCombo->setFixedWidth(width);
}

void ComboBox::Activated(int index)
{
    if (mpParameter->mType == CParameter::ENUM_TYPE) {
        static_cast<CEnumParameter*>(mpParameter)->SetValue(mpCombo->itemText(index));
        UpdateValue();
    }
    emit Changed();
}
