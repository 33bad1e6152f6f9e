#include "query/GridLayout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <map>
#include <stdexcept>

namespace rsgz::query {

namespace {

const char* alignName(GridColumn::Align a)
{
    switch (a) {
    case GridColumn::Align::Center: return "center";
    case GridColumn::Align::Right: return "right";
    case GridColumn::Align::Left: break;
    }
    return "left";
}

GridColumn::Align alignOf(const QString& name)
{
    if (name == QLatin1String("center")) return GridColumn::Align::Center;
    if (name == QLatin1String("right")) return GridColumn::Align::Right;
    return GridColumn::Align::Left;
}

std::runtime_error damaged(const std::string& path)
{
    return std::runtime_error("表格样式文件已损坏，表格按默认样式显示：" + path);
}

// Far beyond any grid: the columns of the widest table, the width of several screens, the file.
constexpr qsizetype kMaxColumns = 1000;
constexpr int kMaxWidth = 10000;
constexpr qint64 kMaxFileBytes = 4 << 20;

}  // namespace

std::string GridLayout::path(const std::string& programDir, int module)
{
    static const std::map<int, int> files = {{1, 1}, {2, 2}, {3, 4}, {4, 6}, {5, 7}, {7, 8}, {8, 9}};
    const auto it = files.find(module);
    return it == files.end() ? std::string() : programDir + "set/DBGrid" + std::to_string(it->second) + ".dat";
}

GridLayout GridLayout::read(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFileBytes) throw damaged(path);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject() || !doc.object().value("columns").isArray())
        throw damaged(path);
    const QJsonArray columns = doc.object().value("columns").toArray();
    if (columns.size() > kMaxColumns) throw damaged(path);
    GridLayout layout;
    for (const QJsonValue& v : columns) {
        const QJsonObject o = v.toObject();
        const std::string field = o.value("field").toString().toStdString();
        if (field.empty()) continue;
        const double width = o.value("width").toDouble();
        if (!(width >= 0 && width <= kMaxWidth)) throw damaged(path);
        layout.columns.push_back({field, o.value("title").toString().toStdString(), static_cast<int>(width),
                                  alignOf(o.value("align").toString())});
    }
    return layout;
}

void GridLayout::write(const std::string& path) const
{
    QJsonArray array;
    for (const GridColumn& c : columns) {
        array.append(QJsonObject{{"field", QString::fromStdString(c.field)},
                                 {"title", QString::fromStdString(c.title)},
                                 {"width", c.width},
                                 {"align", QString::fromLatin1(alignName(c.align))}});
    }
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(QJsonObject{{"columns", array}}).toJson()) < 0 || !f.commit())
        throw std::runtime_error("表格样式文件不能写入：" + path);
}

}  // namespace rsgz::query
