#include "app/WindowPlacement.h"

#include "app/Settings.h"

#include <QGuiApplication>
#include <QList>
#include <QRect>
#include <QScreen>
#include <QSplitter>
#include <QStringList>
#include <QWidget>

namespace app {

namespace {

const QString kPlace = QStringLiteral("Konum");
const QString kMaximised = QStringLiteral("Büyük");
const QString kSplitter = QStringLiteral("Bölücü");

// "a,b,c" as whole numbers; empty when any piece is not one.
QList<int> Numbers(const QString& text)
{
    QList<int> out;
    for (const QString& piece : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = piece.trimmed().toInt(&ok);
        if (!ok)
            return {};
        out << n;
    }
    return out;
}

QString Join(const QList<int>& numbers)
{
    QStringList pieces;
    for (int n : numbers)
        pieces << QString::number(n);
    return pieces.join(QLatin1Char(','));
}

bool OnSomeScreen(const QRect& r)
{
    // Enough of the title bar must be on a screen to take hold of it.
    const QRect titleBar(r.left(), r.top(), r.width(), 30);
    for (QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersected(titleBar).width() >= 100)
            return true;
    return false;
}

} // namespace

bool RestorePlacement(QWidget* window, QSplitter* splitter)
{
    const QList<int> place = Numbers(GetRegString(RootKey::CurrentUser, kWindowKey, kPlace));
    bool restored = false;
    if (place.size() == 4 && place[2] > 0 && place[3] > 0) {
        const QRect r(place[0], place[1], place[2], place[3]);
        window->resize(r.size().expandedTo(window->minimumSizeHint()));
        if (OnSomeScreen(r))
            window->move(r.topLeft());
        restored = true;
    }
    if (GetRegString(RootKey::CurrentUser, kWindowKey, kMaximised) == QStringLiteral("1")) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        restored = true;
    }
    if (splitter) {
        const QList<int> sizes = Numbers(GetRegString(RootKey::CurrentUser, kWindowKey, kSplitter));
        bool usable = sizes.size() == splitter->count();
        for (int s : sizes)
            usable = usable && s >= 0;
        if (usable)
            splitter->setSizes(sizes);
    }
    return restored;
}

void SavePlacement(const QWidget* window, const QSplitter* splitter)
{
    // move() places the outer frame, resize() sizes the inside; a maximised
    // window keeps the place it comes back to.
    const QRect r = window->isMaximized() ? window->normalGeometry()
                                          : QRect(window->frameGeometry().topLeft(), window->size());
    if (r.isValid())
        SaveRegString(RootKey::CurrentUser, kWindowKey, kPlace, Join({r.x(), r.y(), r.width(), r.height()}));
    SaveRegString(RootKey::CurrentUser, kWindowKey, kMaximised,
                  window->isMaximized() ? QStringLiteral("1") : QStringLiteral("0"));
    if (splitter)
        SaveRegString(RootKey::CurrentUser, kWindowKey, kSplitter, Join(splitter->sizes()));
}

} // namespace app
