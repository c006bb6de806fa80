#pragma once

#include "print/RecordingSurface.h"

#include <QStringList>
#include <QWidget>

#include <memory>

namespace reports {

// A picture box that the program writes text into, in twips from its
// top-left corner, with the printing surface's calls (current x and y, Print,
// TextWidth). What was drawn is kept, so the box paints it on the screen and a
// printout can put the same picture on paper.
class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Clears the picture and gives the surface to draw the new one on.
    print::Surface& Cls();
    print::Surface& surface() { return *content_; }

    // What the picture holds, to keep and put back when a new drawing is given up.
    std::shared_ptr<print::RecordingSurface> Content() const { return content_; }
    void setContent(std::shared_ptr<print::RecordingSurface> content);

    QStringList Texts() const { return content_->Texts(); }
    // From the top of the picture to the foot of its lowest line; 0 when empty.
    double ContentHeightTwips() const;
    void setWidthTwips(double twips);

    // Draws the picture on a page with its top-left corner at (x, y), in the
    // picture's own fonts.
    void DrawOn(print::Surface& target, double x, double y) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::shared_ptr<print::RecordingSurface> content_;
};

} // namespace reports
