// Control arrays: element 0 is the template made with the form; Load makes a further
// element with the template's look, hidden; Unload removes it again.
#pragma once

#include "platform/vb/Err.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vb {

namespace err {
constexpr long ControlArrayElementMissing = 340;   // "Control array element 'n' doesn't exist"
constexpr long ObjectAlreadyLoaded = 360;
constexpr long CannotUnloadDesignControl = 362;    // element 0 came with the form
}  // namespace err

// What a form keeps of its arrays, to let them go when it unloads.
class ControlArrayBase {
public:
    virtual ~ControlArrayBase() = default;
};

// Hands elements that go to a later moment: an element may be unloaded from inside one
// of its own events.
void DisposeLater(std::shared_ptr<void> object);

template <class T>
class ControlArray : public ControlArrayBase {
public:
    using Factory = std::function<std::unique_ptr<T>(int index)>;

    ControlArray(std::string name, Factory factory) : name_(std::move(name)), factory_(std::move(factory)) {
        elements_[0] = factory_(0);
    }

    const std::string& Name() const { return name_; }

    T& operator()(int index) const {
        auto it = elements_.find(index);
        if (it == elements_.end())
            Raise(err::ControlArrayElementMissing,
                  "Control array element '" + std::to_string(index) + "' doesn't exist");
        return *it->second;
    }
    T& operator[](int index) const { return (*this)(index); }
    bool Exists(int index) const { return elements_.count(index) != 0; }

    // A new element looks like element 0, starts hidden and gets the array's handlers.
    T& Load(int index) {
        if (index < 0 || index > 32767)
            Raise(err::ControlArrayElementMissing,
                  "Control array element '" + std::to_string(index) + "' doesn't exist");
        if (Exists(index)) Raise(err::ObjectAlreadyLoaded, "Object already loaded");
        std::unique_ptr<T> element = factory_(index);
        element->CopyLookFrom(*elements_.at(LBound()));
        element->SetVisible(false);
        T& result = *element;
        elements_[index] = std::move(element);
        if (wire_) wire_(result);
        return result;
    }

    void Unload(int index) {
        if (index == 0) Raise(err::CannotUnloadDesignControl, "Can't unload controls created at design time");
        auto it = elements_.find(index);
        if (it == elements_.end())
            Raise(err::ControlArrayElementMissing,
                  "Control array element '" + std::to_string(index) + "' doesn't exist");
        std::shared_ptr<T> gone(std::move(it->second));
        elements_.erase(it);
        gone->SetVisible(false);
        DisposeLater(std::move(gone));
    }

    // Every element but 0.
    void UnloadAll() {
        for (int index : Indices())
            if (index != 0) Unload(index);
    }

    int Count() const { return static_cast<int>(elements_.size()); }
    int LBound() const { return elements_.begin()->first; }
    int UBound() const { return elements_.rbegin()->first; }
    std::vector<int> Indices() const {
        std::vector<int> indices;
        for (const auto& [index, element] : elements_) indices.push_back(index);
        return indices;
    }

    // Sets the event handlers of each element, element 0 and those loaded later; the
    // element tells its Index(). An array has one owner of its events: a second wiring
    // would silently replace the first owner's handlers, so it is refused.
    void SetHandlers(std::function<void(T&)> wire) {
        if (wire_) Raise(err::InvalidProcedureCall, "Control array '" + name_ + "' already has its event handlers");
        wire_ = std::move(wire);
        for (auto& [index, element] : elements_) wire_(*element);
    }

private:
    std::string name_;
    Factory factory_;
    std::map<int, std::unique_ptr<T>> elements_;
    std::function<void(T&)> wire_;
};

}  // namespace vb
