// Reading a parameter file into the set. Element lists are read from the last
// element to the first, each item put in front, so every list ends in file order.
#include "Parameters/CParameters.h"

#include "Util/Assert.h"

#include <cfloat>
#include <cstdint>
#include <memory>

bool CParameters::Load(const QString& path)
{
    Clear();
    if (!CXmlFile::Load(path))
        return false;
    return ReadTypes() && ReadParameters() && ReadInterface();
}

bool CParameters::ReadTypes()
{
    const QString section = QStringLiteral("TSECTION");
    const QString sectionPath = QStringLiteral("TSECTION.");
    const QString name = QStringLiteral("NAME");
    if (!GoToElement(section) || GetPath() != sectionPath)
        return false;

    // The position of a TYPE is its type code, so a nameless one cannot be skipped.
    const QString typeTag = QStringLiteral("TYPE");
    const bool typesRead = ForEachChildBackwards(typeTag, [&]() {
        QString typeName;
        if (!GetStringAttribute(name, typeName))
            return false;
        mBaseTypes.prepend(typeName);
        return true;
    });
    if (!typesRead)
        return false;

    const QString enumTag = QStringLiteral("ENUM");
    return ForEachChildBackwards(enumTag, [&]() {
        QString enumName;
        QString values;
        if (!GetStringAttribute(name, enumName) || !GetStringAttribute(QStringLiteral("VALUES"), values))
            return false;
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
        return false;
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
            return false;
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
    bool isEnum = false;
    int typeIndex = -1;
    if (!GetStringAttribute(QStringLiteral("TYPE"), typeName) || !FindType(typeName, &isEnum, &typeIndex))
        return nullptr;

    int type = CParameter::ENUM_TYPE;
    if (!isEnum) {
        type = typeIndex;
        if (type > CParameter::STRING_TYPE) {
            ASSERT((0));
            type = CParameter::STRING_TYPE;
        }
    }

    const QString valueName = QStringLiteral("VALUE");
    std::unique_ptr<CParameter> parameter;
    switch (type) {
    case CParameter::BOOL_TYPE: {
        QString value;
        if (!GetStringAttribute(valueName, value))
            return nullptr;
        parameter = std::make_unique<CBoolParameter>(value == QStringLiteral("true"));
        break;
    }
    case CParameter::INT_TYPE: {
        long value = 0;
        long minimum = INT32_MIN;
        long maximum = INT32_MAX;
        if (!GetLongAttribute(valueName, value))
            return nullptr;
        GetLongAttribute(QStringLiteral("MIN"), minimum);
        GetLongAttribute(QStringLiteral("MAX"), maximum);
        if (value > maximum || value < minimum)
            return nullptr;
        parameter = std::make_unique<CIntParameter>(int32_t(value), int32_t(minimum), int32_t(maximum));
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
            return nullptr;
        parameter = std::make_unique<CFloatParameter>(value, minimum, maximum);
        break;
    }
    case CParameter::STRING_TYPE: {
        QString value;
        if (!GetStringAttribute(valueName, value))
            return nullptr;
        parameter = std::make_unique<CStringParameter>(value);
        break;
    }
    default: {
        CEnumType* enumType = mEnumTypes.at(typeIndex);
        QString value;
        if (!GetStringAttribute(valueName, value) || enumType->IndexOf(value) < 0)
            return nullptr;
        parameter = std::make_unique<CEnumParameter>(enumType->IndexOf(value), enumType);
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
    if (!GetStringAttribute(QStringLiteral("REF"), ref))
        return nullptr;
    CParameter* parameter = GetParameter(ref);
    if (!parameter || !GetStringAttribute(QStringLiteral("TYPE"), typeName))
        return nullptr;
    const int control = CInterfaceInput::ControlTypeFromName(typeName);
    if (control < 0)
        return nullptr;
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
    if (count == 0)
        return nullptr;
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
    if (!GetStringAttribute(QStringLiteral("VERTICAL"), vertical)
        || !GetStringAttribute(QStringLiteral("WITHDEFBUTTON"), withDefButton)
        || !GetStringAttribute(QStringLiteral("ALLOWSORT"), allowSort))
        return nullptr;
    GetStringAttribute(QStringLiteral("CAPTION"), caption);
    const QString yes = QStringLiteral("yes");
    auto table = std::make_unique<CInterfaceTable>(caption, withDefButton == yes, allowSort == yes,
                                                   vertical == QStringLiteral("no"));

    const QString captionsTag = QStringLiteral("CAPTIONS");
    if (FindElement(captionsTag)) {
        GoToElement(captionsTag);
        QString rows;
        QString columns;
        if (!GetStringAttribute(QStringLiteral("ROWSCAPTIONS"), rows)
            || !GetStringAttribute(QStringLiteral("COLUMNSCAPTIONS"), columns))
            return nullptr;
        const QChar separator = QLatin1Char('_');
        table->mRowCaptions = rows.split(separator, Qt::SkipEmptyParts);
        table->mColumnCaptions = columns.split(separator, Qt::SkipEmptyParts);
        GoToParent();
    }

    const QString rowTag = QStringLiteral("ROWORCOLUMN");
    const int count = CountElements(rowTag);
    if (count == 0)
        return nullptr;
    for (int i = count - 1; i >= 0; --i) {
        QString ref;
        if (!GoToElement(rowTag, false, i) || !GetStringAttribute(QStringLiteral("REF"), ref))
            return nullptr;
        CParameterVector* vector = GetVector(ref);
        if (!vector)
            return nullptr;
        table->mVectors.prepend(vector);
        GoToParent();
    }
    return table.release();
}
