// Reading a parameter file into the set. Element lists are read from the last
// element to the first, each item put in front, so every list ends in file order.
#include "Parameters/CParameters.h"

#include "Text/CLanguageResources.h"
#include "Util/Assert.h"

#include <cfloat>
#include <cstdint>
#include <memory>

namespace {
QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A value as a refusal quotes it: a hostile file's value of a hundred thousand characters must not become a log
// line of that length.
QString QuotedValue(const QString& text)
{
    const int shown = 40;
    if (text.size() <= shown)
        return Quoted(text);
    return Quoted(text.left(shown) + QStringLiteral("...")) + QStringLiteral(" (%1 characters)").arg(text.size());
}

// A whole number of the integer type: decimal digits with an optional sign, within 32 bits; blanks before or
// after them are allowed. Anything else ("abc", "", "1 2", "nan", "1e30", "0x10", a number beyond 32 bits) is
// no value of this type.
bool ReadWholeNumber(const QString& text, int32_t& value)
{
    bool converts = false;
    const int number = text.toInt(&converts, 10);
    if (converts)
        value = number;
    return converts;
}

// A float limit as the files write numbers.
QString Number(double value)
{
    return QString::number(value, 'g', 6);
}

// Why a file is refused, from the language file; the caller fills in the element's names.
QString Reason(const char* id)
{
    return CLanguageResources::GetMessage(QStringLiteral("CParameters"), QString::fromLatin1(id));
}
} // namespace

bool CParameters::Load(const QString& path)
{
    Clear();
    if (!CXmlFile::Load(path))
        return false;
    if (ReadTypes() && ReadParameters() && ReadInterface())
        return true;
    if (GetLoadError().isEmpty())
        SetLoadError(Reason("id_elements_unreadable"));
    return false;
}

bool CParameters::Refuse(const QString& reason)
{
    // The innermost reader that refused knows best; the callers it fails only pass the failure on.
    if (GetLoadError().isEmpty())
        SetLoadError(reason);
    return false;
}

bool CParameters::ReadTypes()
{
    const QString section = QStringLiteral("TSECTION");
    const QString sectionPath = QStringLiteral("TSECTION.");
    const QString name = QStringLiteral("NAME");
    if (!GoToElement(section) || GetPath() != sectionPath)
        return Refuse(Reason("id_no_tsection"));

    // The position of a TYPE is its type code, so a nameless one cannot be skipped.
    const QString typeTag = QStringLiteral("TYPE");
    const bool typesRead = ForEachChildBackwards(typeTag, [&]() {
        QString typeName;
        if (!GetStringAttribute(name, typeName))
            return Refuse(Reason("id_type_without_name"));
        mBaseTypes.prepend(typeName);
        return true;
    });
    if (!typesRead)
        return false;

    const QString enumTag = QStringLiteral("ENUM");
    return ForEachChildBackwards(enumTag, [&]() {
        QString enumName;
        QString values;
        if (!GetStringAttribute(name, enumName))
            return Refuse(Reason("id_enum_without_name"));
        if (!GetStringAttribute(QStringLiteral("VALUES"), values))
            return Refuse(Reason("id_enum_without_values").arg(Quoted(enumName)));
        mEnumTypes.prepend(new CEnumType(enumName, values));
        return true;
    });
}

bool CParameters::ReadParameters()
{
    GoToParent();
    // Without PSECTION the cursor stays on the root, whose own children are read.
    GoToElement(QStringLiteral("PSECTION"));

    const QString dataTag = QStringLiteral("DATA");
    if (!ForEachChildBackwards(dataTag, [this]() { return ReadData() != nullptr; }))
        return false;

    const QString vectorTag = QStringLiteral("VECTOR");
    for (int v = CountElements(vectorTag) - 1; v >= 0; --v) {
        if (!GoToElement(vectorTag, false, v))
            return false;
        QString vectorName;
        GetStringAttribute(QStringLiteral("NAME"), vectorName);
        CParameterVector* vector = new CParameterVector(vectorName);
        mVectors.prepend(vector);
        const bool dataRead = ForEachChildBackwards(dataTag, [&]() {
            CParameter* parameter = ReadData();
            if (!parameter)
                return false;
            vector->mParameters.prepend(parameter);
            return true;
        });
        if (!dataRead)
            return false;
        GoToParent();
    }
    return true;
}

bool CParameters::ReadInterface()
{
    while (GoToParent()) {
    }
    if (!GoToElement(QStringLiteral("ISECTION")) || GetPath() != QStringLiteral("ISECTION."))
        return Refuse(Reason("id_no_isection"));
    for (int i = CountElements() - 1; i >= 0; --i) {
        if (!GoToChild(i))
            return false;
        const QString tag = GetTagName();
        CInterfaceNode* node = nullptr;
        if (tag == QStringLiteral("INPUT"))
            node = ReadInput();
        else if (tag == QStringLiteral("TABLE"))
            node = ReadTable();
        else if (tag == QStringLiteral("GROUP"))
            node = ReadGroup();
        if (!node)
            return Refuse(Reason("id_interface_element_unknown").arg(Quoted(tag)));
        mInterface.prepend(node);
        GoToParent();
    }
    return true;
}

CParameter* CParameters::ReadData()
{
    QString name;
    QString typeName;
    QString constText;
    GetStringAttribute(QStringLiteral("NAME"), name);
    GetStringAttribute(QStringLiteral("CONST"), constText);
    const QString element = Quoted(name);
    const auto refuse = [this](const QString& reason) {
        Refuse(reason);
        return nullptr;
    };
    bool isEnum = false;
    int typeIndex = -1;
    if (!GetStringAttribute(QStringLiteral("TYPE"), typeName))
        return refuse(Reason("id_data_without_type").arg(element));
    if (!FindType(typeName, &isEnum, &typeIndex))
        return refuse(Reason("id_data_type_undeclared").arg(element, Quoted(typeName)));

    int type = CParameter::ENUM_TYPE;
    if (!isEnum) {
        type = typeIndex;
        if (type > CParameter::STRING_TYPE) {
            ASSERT((0));
            type = CParameter::STRING_TYPE;
        }
    }

    const QString valueName = QStringLiteral("VALUE");
    QString text;
    if (!GetStringAttribute(valueName, text))
        return refuse(Reason("id_data_without_value").arg(element));
    const QString quotedValue = QuotedValue(text);
    std::unique_ptr<CParameter> parameter;
    switch (type) {
    case CParameter::BOOL_TYPE:
        parameter = std::make_unique<CBoolParameter>(text == QStringLiteral("true"));
        break;
    case CParameter::INT_TYPE: {
        // A text that is no whole number would read as 0, a value nobody wrote: the file is refused instead.
        const auto notWholeNumber = [&](const QString& attribute, const QString& quoted) {
            return Reason("id_data_not_whole_number")
                .arg(element, attribute, quoted, QString::number(INT32_MIN), QString::number(INT32_MAX));
        };
        int32_t value = 0;
        int32_t minimum = INT32_MIN;
        int32_t maximum = INT32_MAX;
        if (!ReadWholeNumber(text, value))
            return refuse(notWholeNumber(valueName, quotedValue));
        // A limit that is given must be a whole number too.
        const auto readLimit = [&](const char* name, int32_t& limit) {
            const QString attribute = QString::fromLatin1(name);
            QString limitText;
            const bool read = !GetStringAttribute(attribute, limitText) || ReadWholeNumber(limitText, limit);
            if (!read)
                Refuse(notWholeNumber(attribute, QuotedValue(limitText)));
            return read;
        };
        if (!readLimit("MIN", minimum) || !readLimit("MAX", maximum))
            return nullptr;
        if (value > maximum || value < minimum)
            return refuse(Reason("id_data_value_outside")
                              .arg(element, quotedValue, QString::number(minimum), QString::number(maximum)));
        parameter = std::make_unique<CIntParameter>(value, minimum, maximum);
        break;
    }
    case CParameter::FLOAT_TYPE: {
        float value = 0;
        float minimum = -FLT_MAX;
        float maximum = FLT_MAX;
        if (!GetFloatAttribute(valueName, value))
            return nullptr;
        GetFloatAttribute(QStringLiteral("MIN"), minimum);
        GetFloatAttribute(QStringLiteral("MAX"), maximum);
        // Written so that a NaN anywhere rejects the file.
        if (!(maximum >= value && value >= minimum))
            return refuse(Reason("id_data_value_not_a_number")
                              .arg(element, quotedValue, Number(double(minimum)), Number(double(maximum))));
        parameter = std::make_unique<CFloatParameter>(value, minimum, maximum);
        break;
    }
    case CParameter::STRING_TYPE:
        parameter = std::make_unique<CStringParameter>(text);
        break;
    default: {
        CEnumType* enumType = mEnumTypes.at(typeIndex);
        if (enumType->IndexOf(text) < 0)
            return refuse(Reason("id_data_value_not_offered").arg(element, quotedValue, Quoted(typeName)));
        parameter = std::make_unique<CEnumParameter>(enumType->IndexOf(text), enumType);
        break;
    }
    }

    parameter->mIsConst = parameter->mIsDeclaredConst = (constText == QStringLiteral("yes"));
    parameter->mName = name;
    // A later name replaces an earlier one in the map; the set still owns both.
    CParameter* created = parameter.release();
    mOwnedParameters.append(created);
    mParameters.insert(name, created);
    return created;
}

CInterfaceNode* CParameters::ReadInput()
{
    QString ref;
    QString typeName;
    if (!GetStringAttribute(QStringLiteral("REF"), ref)) {
        Refuse(Reason("id_input_without_ref"));
        return nullptr;
    }
    const QString element = Quoted(ref);
    CParameter* parameter = GetParameter(ref);
    if (!parameter) {
        Refuse(Reason("id_input_names_no_data").arg(element));
        return nullptr;
    }
    if (!GetStringAttribute(QStringLiteral("TYPE"), typeName)) {
        Refuse(Reason("id_input_without_type").arg(element));
        return nullptr;
    }
    const int control = CInterfaceInput::ControlTypeFromName(typeName);
    if (control < 0) {
        Refuse(Reason("id_input_type_unknown").arg(element, Quoted(typeName)));
        return nullptr;
    }
    QString caption;
    QString prefix;
    QString suffix;
    GetStringAttribute(QStringLiteral("CAPTION"), caption);
    GetStringAttribute(QStringLiteral("PREFIX"), prefix);
    GetStringAttribute(QStringLiteral("SUFFIX"), suffix);
    return new CInterfaceInput(parameter, control, caption, prefix, suffix);
}

CInterfaceNode* CParameters::ReadGroup()
{
    QString caption;
    QString control;
    GetStringAttribute(QStringLiteral("CAPTION"), caption);
    GetStringAttribute(QStringLiteral("CONTROL"), control);
    auto group = std::make_unique<CInterfaceGroup>(caption, control);

    const QString inputTag = QStringLiteral("INPUT");
    const int count = CountElements(inputTag);
    if (count == 0) {
        Refuse(Reason("id_group_without_input").arg(Quoted(caption)));
        return nullptr;
    }
    for (int i = count - 1; i >= 0; --i) {
        if (!GoToElement(inputTag, false, i))
            return nullptr;
        CInterfaceNode* input = ReadInput();
        if (!input)
            return nullptr;
        group->mInputs.prepend(input);
        GoToParent();
    }
    return group.release();
}

CInterfaceNode* CParameters::ReadTable()
{
    QString vertical;
    QString withDefButton;
    QString allowSort;
    QString caption;
    GetStringAttribute(QStringLiteral("CAPTION"), caption);
    const QString element = Quoted(caption);
    if (!GetStringAttribute(QStringLiteral("VERTICAL"), vertical)
        || !GetStringAttribute(QStringLiteral("WITHDEFBUTTON"), withDefButton)
        || !GetStringAttribute(QStringLiteral("ALLOWSORT"), allowSort)) {
        Refuse(Reason("id_table_attributes_missing").arg(element));
        return nullptr;
    }
    const QString yes = QStringLiteral("yes");
    auto table = std::make_unique<CInterfaceTable>(caption, withDefButton == yes, allowSort == yes,
                                                   vertical == QStringLiteral("no"));

    const QString captionsTag = QStringLiteral("CAPTIONS");
    if (FindElement(captionsTag)) {
        GoToElement(captionsTag);
        QString rows;
        QString columns;
        if (!GetStringAttribute(QStringLiteral("ROWSCAPTIONS"), rows)
            || !GetStringAttribute(QStringLiteral("COLUMNSCAPTIONS"), columns)) {
            Refuse(Reason("id_table_captions_missing").arg(element));
            return nullptr;
        }
        const QChar separator = QLatin1Char('_');
        table->mRowCaptions = rows.split(separator, Qt::SkipEmptyParts);
        table->mColumnCaptions = columns.split(separator, Qt::SkipEmptyParts);
        GoToParent();
    }

    const QString rowTag = QStringLiteral("ROWORCOLUMN");
    const int count = CountElements(rowTag);
    if (count == 0) {
        Refuse(Reason("id_table_without_rows").arg(element));
        return nullptr;
    }
    for (int i = count - 1; i >= 0; --i) {
        QString ref;
        if (!GoToElement(rowTag, false, i) || !GetStringAttribute(QStringLiteral("REF"), ref)) {
            Refuse(Reason("id_row_without_ref").arg(element));
            return nullptr;
        }
        CParameterVector* vector = GetVector(ref);
        if (!vector) {
            Refuse(Reason("id_row_names_no_vector").arg(Quoted(ref)));
            return nullptr;
        }
        table->mVectors.prepend(vector);
        GoToParent();
    }
    return table.release();
}
