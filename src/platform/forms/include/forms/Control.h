#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

class Form;

enum class Prop { Left, Top, Width, Height };

// Anything a screen holds: an image, a label, a button, a timer, a menu item. Every control
// says which of the four geometry values it has; geometry is in twips of the client area.
class Control {
public:
    Control(Form& form, QString name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Parent() const { return form_; }
    const QString& Name() const { return name_; }
    int Index() const { return index_; } // -1 when not an element of an array

    const QString& Tag() const { return tag_; }
    void SetTag(const QString& tag)
    {
        tag_ = tag;
        TagChanged();
    }

    virtual bool Has(Prop) const = 0;
    virtual double Get(Prop) const = 0; // 0 for a value the control does not have
    virtual void Set(Prop, double) = 0; // ignored for a value the control does not have

    double Left() const { return Get(Prop::Left); }
    double Top() const { return Get(Prop::Top); }
    double Width() const { return Get(Prop::Width); }
    double Height() const { return Get(Prop::Height); }
    void SetLeft(double v) { Set(Prop::Left, v); }
    void SetTop(double v) { Set(Prop::Top, v); }
    void SetWidth(double v) { Set(Prop::Width, v); }
    void SetHeight(double v) { Set(Prop::Height, v); }

    virtual bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool on) { enabled_ = on; }
    virtual bool Visible() const { return visible_; }
    virtual void SetVisible(bool on) { visible_ = on; }

    // The widget that shows this control, if it has one.
    virtual QWidget* Widget() const { return nullptr; }

protected:
    virtual void TagChanged() {}

    bool enabled_ = true;
    bool visible_ = true;

private:
    Form& form_;
    QString name_;
    int index_;
    QString tag_;
};

// A control shown by a widget of the client area: it has all four geometry values, kept in
// twips as given, and shown at the nearest whole pixels.
class WidgetControl : public Control {
public:
    WidgetControl(Form& form, QString name, int index, QWidget* widget);
    ~WidgetControl() override;

    bool Has(Prop) const override { return true; }
    double Get(Prop p) const override { return geometry_[int(p)]; }
    void Set(Prop p, double value) override;
    void Move(double left, double top, double width, double height);

    void SetEnabled(bool on) override;
    void SetVisible(bool on) override;
    QWidget* Widget() const override { return widget_; }

    // What a screen reader says the control is, and whose or where.
    void SetAccessibleText(const QString& name, const QString& description = {});
    // Called when the control is clicked or tapped: a press and a release on it.
    void SetClickHandler(std::function<void()> handler);

private:
    void Apply();

    QWidget* widget_;
    double geometry_[4] = {0, 0, 0, 0};
};

} // namespace platform
