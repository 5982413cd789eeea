#pragma once

#include <string_view>

// The program's own message boxes: Japanese text with the default caption "Tavrin";
// a CR in the text is a line break. Tests answer them from a script.
// Threads: the user-interface thread; a message is modal and returns when answered, but
// for a notice shown beside the window, which returns at once.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // A notice with an OK button.
    virtual void inform(std::string_view text) = 0;
    // A notice that does not hold the window: it stays until the user closes it.
    virtual void notify(std::string_view text) { (void)text; }
    // A question with Yes and No; true for Yes.
    virtual bool ask(std::string_view text) = 0;
    enum class SaveChoice { Save, Discard, Cancel };
    // Whether to save edits before they are lost: 保存する, 保存しない, キャンセル.
    virtual SaveChoice askToSave(std::string_view text) = 0;
};
