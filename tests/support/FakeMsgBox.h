// A message box for tests: installed for its lifetime, it records every box and answers
// with scripted values (queued answers first, then the standing one).
#pragma once

#include "platform/vb/MsgBox.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

class FakeMsgBox {
public:
    struct Box {
        std::string prompt;
        int buttons = 0;
        std::string title;
    };

    explicit FakeMsgBox(int answer = vb::vbOK) : answer_(answer) {
        previous_ = vb::SetMsgBoxHandler(
            [this](const std::string& prompt, int buttons, const std::string& title) {
                boxes_.push_back({prompt, buttons, title});
                if (onBox_) onBox_(boxes_.back());
                if (!queued_.empty()) {
                    const int next = queued_.front();
                    queued_.pop_front();
                    return next;
                }
                return answer_;
            });
    }
    ~FakeMsgBox() { vb::SetMsgBoxHandler(previous_); }
    FakeMsgBox(const FakeMsgBox&) = delete;
    FakeMsgBox& operator=(const FakeMsgBox&) = delete;

    void SetAnswer(int answer) { answer_ = answer; }
    // Runs while each box is "shown", before it answers (what a user could do meanwhile).
    void OnBox(std::function<void(const Box&)> onBox) { onBox_ = std::move(onBox); }
    void QueueAnswers(std::initializer_list<int> answers) {
        queued_.insert(queued_.end(), answers.begin(), answers.end());
    }

    const std::vector<Box>& Boxes() const { return boxes_; }
    std::size_t Count() const { return boxes_.size(); }
    const Box& Last() const {
        if (boxes_.empty()) throw std::logic_error("no message box was shown");
        return boxes_.back();
    }
    void Clear() { boxes_.clear(); }

private:
    int answer_;
    std::deque<int> queued_;
    std::vector<Box> boxes_;
    vb::MsgBoxHandler previous_;
    std::function<void(const Box&)> onBox_;
};

}  // namespace testsupport
