// Test doubles for the flat buttons: a pixel canvas with a fixed system palette, and hosts that
// record what a button asks of its window and share one parent for group notifications.
#pragma once

#include "controls/ZulButtonModel.h"
#include "controls/ZulCanvas.h"
#include "controls/ZulPainter.h"
#include "controls/ZulSpeedModel.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace wexly::test {

// Distinct, easy-to-recognise values for the system colours.
inline TColorRef TestSystemColor(TColorRef c)
{
    switch (c) {
    case clBtnFace:
        return 0xC0C0C0;
    case clBtnHighlight:
        return 0xFFFFFF;
    case clBtnShadow:
        return 0x808080;
    case cl3DDkShadow:
        return 0x404040;
    case clWindowFrame:
        return 0x010101;
    case clBtnText:
        return 0x000000;
    default:
        return 0x123456;
    }
}

// Characters are 6 by 13 pixels.
class TPixelCanvas final : public IZulCanvas
{
public:
    TPixelCanvas(int width, int height)
        : image(width, height, 0xFF00FF)
    {
    }

    struct TCaptionCall
    {
        std::string caption;
        int x, y;
        TColorRef color;
    };

    TBitmapImage image;
    std::vector<TCaptionCall> captions;
    std::vector<TZulRect> focusRects;

    TColorRef Pixel(int x, int y) const { return image.At(x, y); }

    TZulSize TextExtent(const std::string& caption) override
    {
        return { 6 * static_cast<int>(DisplayedCaption(caption).size()), 13 };
    }
    TColorRef Resolve(TColorRef c) override { return IsSystemColor(c) ? TestSystemColor(c) : c; }
    void FillRect(const TZulRect& r, TColorRef color) override
    {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                Put(x, y, color);
    }
    void Polyline(const std::vector<TZulPoint>& points, TColorRef color) override
    {
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            TZulPoint p = points[i];
            const TZulPoint q = points[i + 1];
            while (p.x != q.x || p.y != q.y) {
                Put(p.x, p.y, color);
                p.x += (q.x > p.x) - (q.x < p.x);
                p.y += (q.y > p.y) - (q.y < p.y);
            }
        }
    }
    void FrameRect(const TZulRect& r, TColorRef color) override
    {
        FillRect({ r.left, r.top, r.right, r.top + 1 }, color);
        FillRect({ r.left, r.bottom - 1, r.right, r.bottom }, color);
        FillRect({ r.left, r.top, r.left + 1, r.bottom }, color);
        FillRect({ r.right - 1, r.top, r.right, r.bottom }, color);
    }
    void DrawImage(const TBitmapImage& picture, int x, int y) override
    {
        const TColorRef clear = picture.TransparentColor();
        for (int j = 0; j < picture.height; ++j)
            for (int i = 0; i < picture.width; ++i)
                if (picture.At(i, j) != clear)
                    Put(x + i, y + j, picture.At(i, j));
    }
    void DrawCaption(const std::string& caption, int x, int y, TColorRef color) override
    {
        captions.push_back({ caption, x, y, color });
    }
    void FocusRect(const TZulRect& r, TColorRef, TColorRef) override { focusRects.push_back(r); }

private:
    void Put(int x, int y, TColorRef c)
    {
        if (x >= 0 && y >= 0 && x < image.width && y < image.height)
            image.Set(x, y, Resolve(c));
    }
};

class TFakeParent;

class TFakeHost final : public IZulHost
{
public:
    TFakeParent* parent = nullptr;
    TZulControlModel* model = nullptr;
    bool focused = false;
    bool captured = false;
    int invalidations = 0;
    int clicks = 0;
    int drags = 0;
    std::vector<std::string> events;

    void Invalidate() override { ++invalidations; }
    void CaptureMouse() override { captured = true; }
    void ReleaseMouse() override { captured = false; }
    void BroadcastButtonPressed(int32_t groupIndex) override;
    bool Focused() const override { return focused; }
    void TakeFocus() override
    {
        focused = true;
        events.push_back("focus");
        if (model)
            model->FocusChanged(true);
    }
    void Click() override
    {
        ++clicks;
        events.push_back("click");
    }
    void BeginDrag() override
    {
        ++drags;
        events.push_back("drag");
    }
    void MouseDown(TZulShift s, TZulPoint) override
    {
        events.push_back(s.left ? "down(left)" : "down");
    }
    void MouseUp(TZulShift, TZulPoint) override { events.push_back("up"); }
    void MouseMove(TZulShift, TZulPoint) override { events.push_back("move"); }
};

// A parent window holding buttons; the notification reaches every one of them.
class TFakeParent
{
public:
    struct TChild
    {
        std::unique_ptr<TFakeHost> host;
        std::unique_ptr<TZulControlModel> model;
    };
    std::vector<TChild> children;

    template <typename Model> Model& Add()
    {
        auto host = std::make_unique<TFakeHost>();
        host->parent = this;
        auto model = std::make_unique<Model>(*host);
        host->model = model.get();
        Model& result = *model;
        children.push_back({ std::move(host), std::move(model) });
        return result;
    }
    TFakeHost& HostOf(const TZulControlModel& m)
    {
        for (auto& c : children)
            if (c.model.get() == &m)
                return *c.host;
        throw std::logic_error("not a child");
    }
    void Broadcast(int32_t groupIndex, const TFakeHost* sender)
    {
        for (auto& c : children)
            c.model->ButtonPressed(groupIndex, c.host.get() == sender);
    }
};

inline void TFakeHost::BroadcastButtonPressed(int32_t groupIndex)
{
    if (parent)
        parent->Broadcast(groupIndex, this);
}

} // namespace wexly::test
