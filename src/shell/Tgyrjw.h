#pragma once
#include <QDialog>
#include <string>

namespace rsgz::shell {

// 关于软件: the product title, its version, who makes it, and the folder the data is kept in
// (the program directory, or the user's own folder of an installed program).
class Tgyrjw : public QDialog {
    Q_OBJECT
public:
    explicit Tgyrjw(const std::string& dataFolder, QWidget* parent = nullptr);
};

}  // namespace rsgz::shell
