#pragma once
// The two list views of the macro manager: rows of text (the items of one
// collection of a list of collections) and rows of icon and text (the
// actions of one macro). Rows are 20 units high; the owner scrolls and
// selects by writing firstRow/selection and repainting. The lists only read
// their model, through the small source interfaces below.
#include <array>
#include <memory>

#include "ui/skin_button.h"

class IShowCollections {
public:
    virtual ~IShowCollections() = default;
    virtual int CollectionCount() const = 0;
    virtual int ItemCount(int collection) const = 0;
    virtual std::u16string ItemText(int collection, int item) const = 0;
};

class IShowRows {
public:
    virtual ~IShowRows() = default;
    // Icons: 0 release, 1 press, 2 pause.
    enum Icon { kRelease = 0, kPress = 1, kPause = 2 };
    virtual int RowCount() const = 0;
    virtual std::u16string RowText(int row) const = 0;
    virtual int RowIcon(int row) const = 0;
};

// What both lists share: rows, selection, scrolling and the mouse rules.
class CShowListBase : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::List; }
    // A step scrolls the new row into view and clicks it.
    bool KeyClickPoint(KeyAction action, Point* at) override;
    void Describe(platform::AccessibleNode& node) const override;
    CShowListBase(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                  bool disabled);
    int OnLButtonDown(WPARAM flags, int x, int y) override;

    int selection = -1;
    int firstRow = 0;
    int visibleRows = 0;

    // Row index under a client y (relative to the first visible row).
    int RowAt(int y) const;
    // Whether something is shown and how many rows it has.
    virtual bool HasContent() const = 0;
    virtual int ItemCount() const = 0;

protected:
    // Draws the rows; rowLeft is the text column's left offset in base units.
    void DrawRows(platform::ICanvas& dc, const Rect& area, int rowLeft);
    virtual void DrawRowExtra(platform::ICanvas&, int, const Rect&) {}
    virtual std::u16string RowText(int index) const = 0;
};

class CEditShowList : public CShowListBase {
public:
    static constexpr UINT kId = 2015;
    CEditShowList(HWND owner, Rect rect, std::u16string caption = {}, bool visible = true, bool available = true,
                  bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnLButtonDblClk(WPARAM flags, int x, int y) override;

    // The list of collections this list reads (the macro manager's library).
    void SetSource(const IShowCollections* source) { source_ = source; }
    // Shows collection index: first row 0, selection 0 when it has items.
    void ShowCollection(int index);
    int shownCollection = -1;

    bool HasContent() const override;
    int ItemCount() const override;

protected:
    std::u16string RowText(int index) const override;

private:
    const IShowCollections* source_ = nullptr;
};

class CImageShowList : public CShowListBase {
public:
    static constexpr UINT kId = 2020;
    CImageShowList(HWND owner, Rect rect, std::u16string caption = {}, bool visible = true, bool available = true,
                   bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnLButtonDblClk(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // release, press and pause icons; the icon size is the release icon's.
    bool LoadIcons(const std::u16string& release, const std::u16string& press, const std::u16string& pause);
    // The shown item; null shows nothing.
    const IShowRows* shownItem = nullptr;

    bool HasContent() const override { return shownItem != nullptr; }
    int ItemCount() const override { return shownItem ? shownItem->RowCount() : 0; }

protected:
    std::u16string RowText(int index) const override;
    void DrawRowExtra(platform::ICanvas& dc, int index, const Rect& row) override;

private:
    std::array<std::unique_ptr<CSkinImage>, 3> icons_;
};
