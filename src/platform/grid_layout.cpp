#include "platform/grid_layout.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "files/file_io.h"

namespace fulgor {
namespace {

const QString kVersionKey = QStringLiteral("fulgorGridLayouts");
const QString kLayoutsKey = QStringLiteral("layouts");
const QString kColumnKey = QStringLiteral("column");
const QString kWidthKey = QStringLiteral("width");
const QString kHiddenKey = QStringLiteral("hidden");
constexpr int kVersion = 1;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

Error damaged(const QString& path, const QString& cause) {
    return Error{QStringLiteral("The layout file %1 is damaged: %2.")
                     .arg(quoted(path), cause)
                     .toStdString()};
}

Result<ColumnLayout> parseColumn(const QJsonValue& value, const QString& where) {
    if (!value.isObject())
        return Error{(where + QStringLiteral(" must be an object with \"column\" and \"width\""))
                         .toStdString()};
    QJsonObject object = value.toObject();
    ColumnLayout column;
    column.name = object.value(kColumnKey).toString();
    if (column.name.isEmpty())
        return Error{
            (where + QStringLiteral(": \"column\" must be a non-empty text")).toStdString()};
    QJsonValue width = object.value(kWidthKey);
    double number = width.toDouble();
    if (!width.isDouble() || number != std::floor(number) || number < 1 ||
        number > kMaxColumnWidth) {
        return Error{
            (where +
             QStringLiteral(": \"width\" must be a whole number from 1 to %1").arg(kMaxColumnWidth))
                .toStdString()};
    }
    column.width = static_cast<int>(number);
    QJsonValue hidden = object.value(kHiddenKey);
    if (!hidden.isUndefined() && !hidden.isBool())
        return Error{(where + QStringLiteral(": \"hidden\" must be true or false")).toStdString()};
    column.hidden = hidden.toBool(false);
    return column;
}

Result<GridLayout> parseLayout(const QJsonValue& value, const QString& name) {
    const QString where = QStringLiteral("layout ") + quoted(name);
    if (!value.isArray() || value.toArray().isEmpty())
        return Error{
            (where + QStringLiteral(" must be a non-empty list of columns")).toStdString()};
    GridLayout layout;
    QSet<QString> seen;
    const QJsonArray entries = value.toArray();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        Result<ColumnLayout> column =
            parseColumn(entries[i], where + QStringLiteral(", entry %1").arg(i + 1));
        if (!column) return Error{column.error()};
        if (seen.contains(column.value().name)) {
            return Error{
                (where + QStringLiteral(" names column %1 twice").arg(quoted(column.value().name)))
                    .toStdString()};
        }
        seen.insert(column.value().name);
        layout.push_back(column.value());
    }
    return layout;
}

}  // namespace

Result<LayoutFile> parseLayoutFile(const QByteArray& text, const QString& path) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        return damaged(path, QStringLiteral("it is not JSON (%1 at character %2)")
                                 .arg(error.errorString())
                                 .arg(error.offset + 1));
    }
    QJsonObject root = document.object();
    if (!document.isObject() || root.value(kVersionKey) != QJsonValue(kVersion))
        return damaged(path, QStringLiteral("\"%1\" must be %2").arg(kVersionKey).arg(kVersion));
    QJsonValue layouts = root.value(kLayoutsKey);
    if (!layouts.isObject())
        return damaged(
            path, QStringLiteral("\"%1\" must be an object of named layouts").arg(kLayoutsKey));
    LayoutFile file;
    const QJsonObject named = layouts.toObject();
    for (auto it = named.begin(); it != named.end(); ++it) {
        Result<GridLayout> layout = parseLayout(it.value(), it.key());
        if (!layout) return damaged(path, QString::fromStdString(layout.error()));
        file.emplace(it.key(), std::move(layout.value()));
    }
    return file;
}

QByteArray serialiseLayoutFile(const LayoutFile& file) {
    QJsonObject layouts;
    for (const auto& [name, layout] : file) {
        QJsonArray columns;
        for (const ColumnLayout& column : layout) {
            QJsonObject entry{{kColumnKey, column.name}, {kWidthKey, column.width}};
            if (column.hidden) entry.insert(kHiddenKey, true);
            columns.append(entry);
        }
        layouts.insert(name, columns);
    }
    QJsonObject root{{kVersionKey, kVersion}, {kLayoutsKey, layouts}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

namespace {

Result<LayoutFile> readLayoutFile(const QString& path) {
    Result<std::string> bytes = readFileBytes(path.toStdString());
    if (!bytes) return Error{bytes.error()};
    return parseLayoutFile(QByteArray::fromStdString(bytes.value()), path);
}

}  // namespace

Result<GridLayout> loadGridLayout(const QString& path, const QString& name) {
    if (!QFileInfo::exists(path)) {
        return Error{QStringLiteral("There is no layout file %1 yet: save a grid layout first.")
                         .arg(quoted(path))
                         .toStdString()};
    }
    Result<LayoutFile> file = readLayoutFile(path);
    if (!file) return Error{file.error()};
    auto found = file.value().find(name);
    if (found == file.value().end()) {
        return Error{QStringLiteral("The layout file %1 holds no layout named %2.")
                         .arg(quoted(path), quoted(name))
                         .toStdString()};
    }
    return found->second;
}

Status saveGridLayout(const QString& path, const QString& name, const GridLayout& layout) {
    LayoutFile file;
    if (QFileInfo::exists(path)) {
        Result<LayoutFile> present = readLayoutFile(path);
        if (!present) {
            return Error{present.error() +
                         " The layout was not saved; the file was left as it is."};
        }
        file = std::move(present.value());
    }
    file[name] = layout;
    QByteArray text = serialiseLayoutFile(file);
    return writeFileAtomically(path.toStdString(), std::string_view(text.constData(), text.size()));
}

QStringList columnNames(const QAbstractItemModel& model) {
    QStringList names;
    for (int column = 0; column < model.columnCount(); ++column)
        names << model.headerData(column, Qt::Horizontal).toString();
    return names;
}

GridLayout layoutOf(const std::vector<PlacedColumn>& present, const QStringList& names) {
    GridLayout layout;
    // A width outside the file's range would make the saved file unreadable.
    for (const PlacedColumn& placed : present)
        layout.push_back({names.value(placed.column), std::clamp(placed.width, 1, kMaxColumnWidth),
                          placed.hidden});
    return layout;
}

Result<std::vector<PlacedColumn>> arrangeColumns(const GridLayout& layout,
                                                 const QString& layoutName,
                                                 const std::vector<PlacedColumn>& present,
                                                 const QStringList& names) {
    std::vector<PlacedColumn> arranged;
    std::vector<bool> placed(static_cast<std::size_t>(names.size()), false);
    for (const ColumnLayout& column : layout) {
        qsizetype index = names.indexOf(column.name);
        if (index < 0) {
            return Error{QStringLiteral("The layout %1 names a column %2 that this grid does not "
                                        "have.")
                             .arg(quoted(layoutName), quoted(column.name))
                             .toStdString()};
        }
        placed[static_cast<std::size_t>(index)] = true;
        arranged.push_back({static_cast<int>(index), column.width, column.hidden});
    }
    for (const PlacedColumn& column : present) {
        if (!placed[static_cast<std::size_t>(column.column)]) arranged.push_back(column);
    }
    if (std::all_of(arranged.begin(), arranged.end(), [](const auto& c) { return c.hidden; })) {
        return Error{QStringLiteral("The layout %1 would hide every column of this grid.")
                         .arg(quoted(layoutName))
                         .toStdString()};
    }
    return arranged;
}

}  // namespace fulgor
