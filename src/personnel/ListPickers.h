#pragma once

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::personnel {

// The article picker 选择物品 and the course picker 选择培训课程. A caller clears nothing itself:
//   app::interaction().openWindow(app::WindowId::PickArticle);
//   if (dm.ArticlePicked) { ... the current row of dm.wpdj is the article ... }
//   app::interaction().openWindow(app::WindowId::PickCourse);
//   if (dm.CoursePicked) { ... the current row of dm.pxkc is the course ... }
// Both flags are cleared when the picker is made, so an earlier choice never counts again.

class ArticlePicker {
public:
    explicit ArticlePicker(app::TDM& dm);
    void activate();  // every registered article
    void choose();    // 确定, 返回 and a double-click
    void cancel();

private:
    app::TDM& dm_;
};

class CoursePicker {
public:
    explicit CoursePicker(app::TDM& dm);
    void activate();  // every course
    void add();       // a new course (total cost 0); the window puts the focus on the first column
    void save();      // posts, writes and re-reads, staying on the course
    // Abandons a course being inserted; otherwise deletes the current course after the question,
    // but never one that has attendees ("培训记录有数据，不能删除！"): their records name it.
    void remove();
    void choose();  // 确定: posts a pending course first (a refused post is no choice)
    void cancel();

private:
    app::TDM& dm_;
};

// True when any training record names the dataset's current course.
bool courseHasAttendees(app::TDM& dm, const db::DataSet& courses);

}  // namespace rsgz::personnel
