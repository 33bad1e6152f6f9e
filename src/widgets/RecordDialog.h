#pragma once
#include <functional>

#include "widgets/ActivatedDialog.h"

namespace rsgz::widgets {

// The life the record windows share: their activation runs once, when the window is first shown;
// every button step runs as one user action (a refusal or an error is reported here, nowhere
// else) and the window then shows the result; and closing asks the behaviour first (a pending row
// whose save is refused keeps it open). RecordWindow builds the whole window from a table.
class RecordDialog : public ActivatedDialog {
    Q_OBJECT
public:
    using ActivatedDialog::ActivatedDialog;

protected:
    virtual bool leave() = 0;         // the behaviour's close; false: stay open
    virtual void showAfterStep() {}   // controls that follow the data (button states, linked lists)

    void run(const std::function<void()>& step);
    void reject() override;
};

}  // namespace rsgz::widgets
