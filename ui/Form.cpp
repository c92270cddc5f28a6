#include "ui/Form.h"

#include <exception>
#include <new>

#include <algorithm>

namespace ui {

Form::Form(std::string name, UiServices services) : name_(std::move(name)), services_(services) {}

Form::~Form() {
    dialogs_.clear();
    if (realized_ && services_.realizer) services_.realizer->destroy(*this);
}

void Form::setCaption(const std::string& c) {
    if (c == caption_) return;
    caption_ = c;
    if (realized_ && services_.realizer) services_.realizer->update(*this, FormAspect::Caption);
}

Control* Form::find(const std::string& name, int index) const {
    for (Control* c : controls_)
        if (c->name() == name && c->index() == index) return c;
    return nullptr;
}

void Form::add(Control* c) {
    controls_.push_back(c);
    // Called from the control's base constructor: its kind is already set.
    if (!tabStrip_ && c->kind() == Kind::TabStrip) tabStrip_ = c;
}

TabStrip* Form::tabStrip() const { return static_cast<TabStrip*>(tabStrip_); }

void Form::load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::show() {
    load();
    if (!loaded_) return;  // the load unloaded it again
    if (!realized_ && services_.realizer) {
        realized_ = true;
        services_.realizer->realize(*this);
    }
    if (visible_) return;
    visible_ = true;
    if (realized_ && services_.realizer) services_.realizer->update(*this, FormAspect::Visible);
    if (!activated_) {
        activated_ = true;
        Form_Activate();
    }
}

void Form::hide() {
    if (!visible_) return;
    visible_ = false;
    if (realized_ && services_.realizer) services_.realizer->update(*this, FormAspect::Visible);
}

void Form::unload() {
    if (!loaded_ && !realized_) return;
    hide();
    loaded_ = false;
    if (realized_ && services_.realizer) {
        realized_ = false;
        services_.realizer->destroy(*this);
    }
    for (Control* c : controls_) c->setPeer(nullptr);
    if (Unloaded) Unloaded();
}

void Form::setEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    if (realized_ && services_.realizer) services_.realizer->update(*this, FormAspect::Enabled);
}

void Form::bringToFront() {
    if (realized_ && services_.realizer) services_.realizer->update(*this, FormAspect::Front);
}

void Form::closeBox() {
    if (QueryClose) QueryClose();
    else if (owner_) giveBack();
    else unload();
}

int Form::msgBox(const std::string& text, const std::string& title, int style) {
    if (!services_.messageBox) return style == MB_YESNO_ ? ID_NO : ID_OK;
    return services_.messageBox->show(this, text, title.empty() ? std::string(kProgramName) : title, style);
}

bool Form::fromUser(UserAction action) {
    try {
        action();
        return true;
    } catch (...) {
        reportFailure();
        return false;
    }
}

void Form::reportFailure() {
    // Inside a catch block only: rethrown to tell memory trouble from a
    // program error. The message itself must not throw again.
    const char* why = "an unexpected error";
    const char* detail = nullptr;
    try {
        throw;
    } catch (const std::bad_alloc&) {
        why = "there was not enough memory";
    } catch (const std::exception& e) {
        why = "a program error";
        detail = e.what();
    } catch (...) {
    }
    try {
        std::string text = kChangeFailed;
        text += caption_.empty() ? name_ : caption_;
        text += "\". Some of its settings may not have been saved; check them before going on.\n\nWhat went wrong: ";
        text += why;
        if (detail && *detail) {
            text += " (";
            text += detail;
            text += ")";
        }
        text += ".";
        msgBox(text, kProgramName, MB_CRITICAL_);
    } catch (...) {
    }
}

void Form::addSystemCommand(std::string caption, std::function<void()> run, std::function<bool()> available) {
    systemCommands_.push_back({std::move(caption), std::move(run), std::move(available)});
}

bool Form::systemCommandEnabled(std::size_t i) const {
    if (i >= systemCommands_.size() || !enabled_) return false;
    const SystemCommand& c = systemCommands_[i];
    return !c.available || c.available();
}

void Form::runSystemCommand(std::size_t i) {
    if (!systemCommandEnabled(i)) return;
    // A copy: the command may change the list's owner.
    const std::function<void()> run = systemCommands_[i].run;
    if (run) run();
}

void Form::purgeClosedDialogs() {
    dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                  [](const std::unique_ptr<Form>& d) { return !d->loaded_ && !d->realized_; }),
                   dialogs_.end());
}

Form& Form::openDialog(std::unique_ptr<Form> dialog, bool keepOwnerVisible) {
    purgeClosedDialogs();
    Form& d = *dialog;
    d.owner_ = this;
    d.ownerStaysVisible_ = keepOwnerVisible;
    dialogs_.push_back(std::move(dialog));
    d.show();
    if (!d.loaded_) return d;  // it gave the owner back while loading
    if (keepOwnerVisible) {
        setEnabled(false);
        d.bringToFront();
    } else {
        hide();
        setEnabled(false);
    }
    return d;
}

void Form::giveBack() {
    Form* o = owner_;
    if (!o) {
        unload();
        return;
    }
    o->setEnabled(true);
    hide();
    unload();
    o->setEnabled(true);
    o->show();
    if (ownerStaysVisible_) o->bringToFront();
}

Form* Form::openChild() const {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->loaded_) return it->get();
    return nullptr;
}

}  // namespace ui
