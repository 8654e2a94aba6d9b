// Menus: items with a caption, a tag and a Click event, holding further items. The
// catalogue only pops menus up (Form::PopupMenu); no menu bar is shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vb {

class Form;

class Menu {
public:
    // A top-level menu has no parent item. An array element goes after the elements of its
    // array already in the parent.
    Menu(Form& form, std::string name, Menu* parent = nullptr, int index = -1);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }
    Form& OwnerForm() const { return form_; }
    Menu* ParentMenu() const { return parent_; }
    const std::vector<Menu*>& Items() const { return items_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }

    std::function<void()> Click;

    void CopyLookFrom(const Menu& model);

private:
    Form& form_;
    std::string name_;
    Menu* parent_;
    int index_;
    std::vector<Menu*> items_;
    std::string caption_, tag_;
    bool visible_ = true, enabled_ = true, checked_ = false;
};

// The pop-up seam: tests choose the item instead of a person (nullptr: none chosen).
using PopupMenuHandler = std::function<Menu*(Menu& menu)>;
PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);

}  // namespace vb
