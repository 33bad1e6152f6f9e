#include "app/Progress.h"

#include "app/Interaction.h"

namespace rsgz::app {

Progress::Progress(const std::string& caption, const std::string& text, int total)
{
    interaction().beginProgress(caption, text, total);
}

Progress::~Progress() { close(); }

void Progress::step(int done)
{
    if (open_) interaction().stepProgress(done);
}

void Progress::close()
{
    if (!open_) return;
    open_ = false;
    interaction().endProgress();
}

}  // namespace rsgz::app
