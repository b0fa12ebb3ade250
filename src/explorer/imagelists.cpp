#include "imagelists.h"

#include <QHash>
#include <QPainter>
#include <vector>

#include "icondraw.h"

namespace {

using TDraw = void (*)(QPainter&, int);

QPixmap Render(TDraw draw, int index, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 16.0, size / 16.0);
    draw(p, index);
    return pixmap;
}

QIcon MakeIcon(TDraw draw, int index, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(Render(draw, index, size));
    return icon;
}

// The sort marks: triangles pointing up (ascending) and down (descending).
void DrawHeaderImage(QPainter& p, int index) {
    const QColor mark(90, 90, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    if (index == HeaderImage::SortAscending)
        p.drawPolygon(QPolygonF{{8, 4}, {13, 11}, {3, 11}});
    else if (index == HeaderImage::SortDescending)
        p.drawPolygon(QPolygonF{{3, 5}, {13, 5}, {8, 12}});
}

// Each list is drawn once, on first use (always on the GUI thread).
std::vector<QIcon> MakeList(TDraw draw, int count) {
    std::vector<QIcon> icons;
    for (int i = 0; i < count; ++i)
        icons.push_back(MakeIcon(draw, i, {16, 32}));
    return icons;
}

const std::vector<QIcon>& ActionIcons() {
    static const std::vector<QIcon> icons = MakeList(IconDraw::DrawActionImage, ActionImage::Count);
    return icons;
}

const std::vector<QIcon>& ObjectIcons() {
    static const std::vector<QIcon> icons = MakeList(IconDraw::DrawObjectImage, ObjectImage::Count);
    return icons;
}

}  // namespace

QIcon TImageLists::ActionIcon(int index) {
    const auto& icons = ActionIcons();
    return index >= 0 && index < int(icons.size()) ? icons[size_t(index)] : QIcon();
}

QIcon TImageLists::ObjectIcon(int index) {
    const auto& icons = ObjectIcons();
    return index >= 0 && index < int(icons.size()) ? icons[size_t(index)] : QIcon();
}

QIcon TImageLists::ObjectIcon(int image, int selectedImage) {
    if (selectedImage < 0 || selectedImage == image) return ObjectIcon(image);
    static QHash<quint64, QIcon> pairs;
    const quint64 key = (quint64(quint32(image)) << 32) | quint32(selectedImage);
    auto it = pairs.find(key);
    if (it != pairs.end()) return *it;
    QIcon icon;
    for (int size : {16, 32}) {
        if (image >= 0 && image < ObjectImage::Count)
            icon.addPixmap(Render(IconDraw::DrawObjectImage, image, size), QIcon::Normal);
        if (selectedImage < ObjectImage::Count)
            icon.addPixmap(Render(IconDraw::DrawObjectImage, selectedImage, size), QIcon::Selected);
    }
    return *pairs.insert(key, icon);
}

QIcon TImageLists::HeaderIcon(int index) {
    if (index != HeaderImage::SortAscending && index != HeaderImage::SortDescending) return {};
    static const QIcon ascending = MakeIcon(DrawHeaderImage, HeaderImage::SortAscending, {16});
    static const QIcon descending = MakeIcon(DrawHeaderImage, HeaderImage::SortDescending, {16});
    return index == HeaderImage::SortAscending ? ascending : descending;
}

QPixmap TImageLists::ActionPixmap(int index, int size) {
    return ActionIcon(index).pixmap(size, size);
}

QPixmap TImageLists::ObjectPixmap(int index, int size) {
    return ObjectIcon(index).pixmap(size, size);
}
