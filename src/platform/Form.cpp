#include "Form.h"

#include "CommandButton.h"
#include "FormWindow.h"
#include "Forms.h"
#include "Image.h"
#include "Label.h"
#include "MenuItem.h"
#include "Pointer.h"
#include "Screen.h"
#include "Timer.h"
#include "Units.h"

#include <QCloseEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <algorithm>

namespace platform {

namespace {

QSet<const Form*>& LiveForms()
{
    static QSet<const Form*> forms;
    return forms;
}

const Form* lockedForm = nullptr;

QString ToQString(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QFont MakeFont(const FontDesc& desc, const QFont& base)
{
    QFont font = base;
    if (!desc.face.empty()) font.setFamily(ToQString(desc.face));
    if (desc.points > 0) font.setPointSizeF(desc.points);
    font.setBold(desc.bold);
    font.setItalic(desc.italic);
    return font;
}

} // namespace

// ---- FormWindow, ClientArea, DragOutline ----

FormWindow::FormWindow(Form& form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      form_(form)
{}

void FormWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    form_.ClientResized();
}

void FormWindow::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange) {
        const auto old = static_cast<QWindowStateChangeEvent*>(e)->oldState();
        // Restoring a minimised window rescales its controls, as any change of size does.
        if ((old & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized)) form_.ClientResized(true);
    }
}

void FormWindow::closeEvent(QCloseEvent* e)
{
    // The window's own close control unloads the screen; Forms hides and destroys it.
    e->ignore();
    if (Forms::IsLoaded(&form_)) Forms::Unload(form_);
}

ClientArea::ClientArea(Form& form, QWidget* parent)
    : QWidget(parent),
      form_(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::paintEvent(QPaintEvent* e)
{
    QPainter p(this);
    p.fillRect(e->rect(), ColorFromBGR(form_.BackColor()));
    if (const QImage* image = form_.PersistentImage()) p.drawImage(e->rect(), *image, e->rect());
}

DragOutline::DragOutline(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void DragOutline::resizeEvent(QResizeEvent*)
{
    const QRect outer = rect();
    setMask(QRegion(outer).subtracted(QRegion(outer.adjusted(3, 3, -3, -3))));
}

void DragOutline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    p.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

// ---- Form ----

Form::Form(const FormDesc& d)
    : name_(ToQString(d.name))
{
    LiveForms().insert(this);
    window_ = new FormWindow(*this);
    window_->setObjectName(name_);
    window_->setWindowTitle(ToQString(d.caption));
    if (!d.icon.empty()) window_->setWindowIcon(QIcon(ToQString(d.icon)));

    client_ = new ClientArea(*this, window_);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFont(MakeFont(d.font, client_->font()));
    client_->setCursor(LoadPointer(ToQString(d.pointer)));
    if (d.backColor != DefaultColor)
        backColor_ = std::uint32_t(d.backColor);
    else
        backColor_ = BGRFromColor(client_->palette().color(QPalette::Window));
    if (d.foreColor != DefaultColor) {
        QPalette pal = client_->palette();
        pal.setColor(QPalette::WindowText, ColorFromBGR(std::uint32_t(d.foreColor)));
        client_->setPalette(pal);
    }

    for (const ControlDesc& c : d.controls) BuildControl(c);

    // Tab order follows the description; the first control that can take the focus has it.
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlDesc& c : d.controls)
        if (c.tabIndex >= 0)
            if (Control* control = Find(ToQString(c.name), c.index); control && control->Widget())
                order.emplace_back(c.tabIndex, control->Widget());
    std::sort(order.begin(), order.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [index, widget] : order) tabOrder_.push_back(widget);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1].second, order[i].second);

    outline_ = new DragOutline(client_);

    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    window_->resize(TwipsToPixels(d.clientWidth), TwipsToPixels(d.clientHeight) + menuHeight);
    LayoutWindow();
    lastClient_ = client_->size();
}

Form::~Form()
{
    if (lockedForm == this) LockWindowUpdate(0);
    LiveForms().remove(this);
    delete window_; // the widgets go first: they refer to their controls
    window_ = nullptr;
}

void Form::BuildControl(const ControlDesc& d)
{
    const QString name = ToQString(d.name);
    std::unique_ptr<Control> control;
    switch (d.kind) {
    case ControlKind::Image: {
        auto image = std::make_unique<Image>(*this, name, d.index, client_);
        image->SetStretch(d.stretch);
        image->SetBorder(d.border);
        image->SetDragAutomatic(d.dragAutomatic);
        if (!d.picture.empty()) image->SetPicture(Picture::LoadPicture(ToQString(d.picture)));
        control = std::move(image);
        break;
    }
    case ControlKind::Label: {
        auto label = std::make_unique<Label>(*this, name, d.index, client_);
        QLabel* view = label->View();
        Qt::Alignment align = d.alignment == Alignment::Center  ? Qt::AlignHCenter
                              : d.alignment == Alignment::Right ? Qt::AlignRight
                                                                : Qt::AlignLeft;
        view->setAlignment(align | Qt::AlignTop);
        QPalette pal = view->palette();
        if (d.foreColor != DefaultColor) pal.setColor(QPalette::WindowText, ColorFromBGR(std::uint32_t(d.foreColor)));
        if (!d.transparent && d.backColor != DefaultColor) {
            pal.setColor(QPalette::Window, ColorFromBGR(std::uint32_t(d.backColor)));
            view->setAutoFillBackground(true);
        }
        view->setPalette(pal);
        label->SetCaption(ToQString(d.caption));
        control = std::move(label);
        break;
    }
    case ControlKind::CommandButton: {
        auto button = std::make_unique<CommandButton>(*this, name, d.index, client_);
        button->SetCaption(ToQString(d.caption));
        if (d.graphical) button->SetGraphical(ToQString(d.picture));
        if (d.tabIndex < 0) button->View()->setFocusPolicy(Qt::NoFocus);
        control = std::move(button);
        break;
    }
    case ControlKind::Timer: {
        auto timer = std::make_unique<Timer>(*this, name, d.index, window_);
        timer->SetInterval(d.interval);
        control = std::move(timer);
        break;
    }
    case ControlKind::MenuItem: {
        if (!menuBar_) {
            auto* bar = new QMenuBar(window_);
            bar->setNativeMenuBar(false);
            menuBar_ = bar;
        }
        QAction* action = static_cast<QMenuBar*>(menuBar_)->addAction(ToQString(d.caption));
        control = std::make_unique<MenuItem>(*this, name, d.index, action);
        break;
    }
    }

    if (QWidget* w = control->Widget()) {
        if (!d.font.face.empty() || d.font.points > 0) w->setFont(MakeFont(d.font, client_->font()));
        if (!d.pointer.empty()) w->setCursor(LoadPointer(ToQString(d.pointer)));
        static_cast<WidgetControl*>(control.get())->Move(d.left, d.top, d.width, d.height);
    } else {
        control->SetLeft(d.left);
        control->SetTop(d.top);
    }
    control->SetVisible(d.visible);
    control->SetEnabled(d.enabled);
    controls_.push_back(control.get());
    owned_.push_back(std::move(control));
}

bool Form::Exists(const Form* form) { return form && LiveForms().contains(form); }

Control* Form::Find(const QString& name, int index) const
{
    for (Control* c : controls_)
        if (c->Index() == index && c->Name() == name) return c;
    return nullptr;
}

Control* Form::ControlOf(const QWidget* widget) const
{
    for (Control* c : controls_)
        if (c->Widget() == widget) return c;
    return nullptr;
}

QWidget* Form::Window() const { return window_; }

void Form::FocusFirst()
{
    if (QWidget* current = window_->focusWidget(); current && current->isVisible() && current->isEnabled()) return;
    for (QWidget* w : tabOrder_) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
QWidget* Form::Client() const { return client_; }
QWidget* Form::DragOutlineWidget() const { return outline_; }

void Form::LayoutWindow()
{
    const int menuHeight = menuBar_ ? menuBar_->sizeHint().height() : 0;
    if (menuBar_) menuBar_->setGeometry(0, 0, window_->width(), menuHeight);
    client_->setGeometry(0, menuHeight, window_->width(), std::max(0, window_->height() - menuHeight));
}

void Form::ClientResized(bool force)
{
    LayoutWindow();
    if (!loaded_) return;
    if (!force && client_->size() == lastClient_) return;
    lastClient_ = client_->size();
    Form_Resize();
}

// ---- geometry ----

double Form::Left() const { return PixelsToTwips(window_->frameGeometry().x()); }
double Form::Top() const { return PixelsToTwips(window_->frameGeometry().y()); }
double Form::Width() const { return PixelsToTwips(window_->frameGeometry().width()); }
double Form::Height() const { return PixelsToTwips(window_->frameGeometry().height()); }

void Form::SetLeft(double twips) { window_->move(TwipsToPixels(twips), window_->frameGeometry().y()); }
void Form::SetTop(double twips) { window_->move(window_->frameGeometry().x(), TwipsToPixels(twips)); }

void Form::SetWidth(double twips)
{
    const int frame = window_->frameGeometry().width() - window_->width();
    window_->resize(std::max(1, TwipsToPixels(twips) - frame), window_->height());
    ClientResized();
}

void Form::SetHeight(double twips)
{
    const int frame = window_->frameGeometry().height() - window_->height();
    window_->resize(window_->width(), std::max(1, TwipsToPixels(twips) - frame));
    ClientResized();
}

void Form::CoverDisplay()
{
    SetTop(0);
    SetLeft(0);
    SetHeight(Screen::Height());
    SetWidth(Screen::Width());
}

double Form::ScaleWidth() const
{
    switch (scaleMode_) {
    case ScalePixels:
        return client_->width();
    case ScaleUser:
        return userScaleWidth_;
    default:
        return PixelsToTwips(client_->width());
    }
}

double Form::ScaleHeight() const
{
    switch (scaleMode_) {
    case ScalePixels:
        return client_->height();
    case ScaleUser:
        return userScaleHeight_;
    default:
        return PixelsToTwips(client_->height());
    }
}

void Form::SetScaleMode(int mode) { scaleMode_ = (mode == ScalePixels) ? ScalePixels : ScaleTwips; }

void Form::SetScaleHeight(double units)
{
    userScaleWidth_ = ScaleWidth();
    userScaleHeight_ = units;
    scaleMode_ = ScaleUser;
}

int Form::WindowState() const
{
    const Qt::WindowStates s = window_->windowState();
    if (s & Qt::WindowMinimized) return Minimized;
    if (s & Qt::WindowMaximized) return Maximized;
    return Normal;
}

void Form::SetWindowState(int state)
{
    Qt::WindowStates s = window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == Minimized) s |= Qt::WindowMinimized;
    if (state == Maximized) s |= Qt::WindowMaximized;
    window_->setWindowState(s);
}

void Form::SetBackColor(std::uint32_t bgr)
{
    backColor_ = bgr & 0xFFFFFF;
    client_->update();
}

// ---- drawing ----

const QImage* Form::PersistentImage() const { return persistent_.get(); }

void Form::Line(double x1, double y1, double x2, double y2, std::uint32_t bgr, LineStyle style)
{
    const QSize size = client_->size();
    if (size.isEmpty()) return;
    if (!persistent_ || persistent_->size() != size) {
        auto grown = std::make_unique<QImage>(size, QImage::Format_RGB32);
        grown->fill(ColorFromBGR(backColor_));
        if (persistent_) {
            QPainter copy(grown.get());
            copy.drawImage(0, 0, *persistent_);
        }
        persistent_ = std::move(grown);
    }
    const double sw = ScaleWidth(), sh = ScaleHeight();
    if (sw == 0 || sh == 0) return;
    auto px = [&](double x) { return std::clamp(x * size.width() / sw, -1.0e6, 1.0e6); };
    auto py = [&](double y) { return std::clamp(y * size.height() / sh, -1.0e6, 1.0e6); };
    const QColor color = ColorFromBGR(bgr);

    QPainter p(persistent_.get());
    if (style == LineStyle::Line) {
        p.setPen(QPen(color, drawWidth_));
        p.drawLine(QPointF(px(x1), py(y1)), QPointF(px(x2), py(y2)));
    } else {
        // Corners are rounded to whole pixels, so that boxes drawn side by side tile without
        // gaps or overlaps.
        const int left = int(std::lround(std::min(px(x1), px(x2))));
        const int right = int(std::lround(std::max(px(x1), px(x2))));
        const int top = int(std::lround(std::min(py(y1), py(y2))));
        const int bottom = int(std::lround(std::max(py(y1), py(y2))));
        const QRect box(QPoint(left, top), QPoint(right - 1, bottom - 1));
        if (style == LineStyle::BoxFilled) {
            p.fillRect(box, color);
        } else {
            p.setPen(QPen(color, drawWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawRect(box.adjusted(drawWidth_ / 2, drawWidth_ / 2, -(drawWidth_ + 1) / 2, -(drawWidth_ + 1) / 2));
        }
    }
    p.end();
    client_->update();
}

// ---- drag and drop ----

void Form::BeginDrag(Image& source, QPoint grab)
{
    dragSource_ = &source;
    grab_ = grab;
    QWidget* w = source.Widget();
    outline_->setGeometry(w->geometry());
    outline_->raise();
    outline_->show();
}

void Form::DragTo(QPoint clientPos)
{
    if (!dragSource_) return;
    // Moving a visible widget repaints its whole rectangle, mask or not; hidden while it
    // moves, only its ring is repainted, at the old place and the new.
    outline_->hide();
    outline_->move(clientPos - grab_);
    outline_->show();
}

void Form::DropAt(QPoint clientPos)
{
    Image* source = dragSource_;
    CancelDrag();
    if (!source) return;
    Image* target = dynamic_cast<Image*>(ControlOf(client_->childAt(clientPos)));
    if (!target || !target->Enabled() || !target->AcceptsDrops()) return;
    const QPoint inside = clientPos - target->Widget()->pos();
    target->DragDrop(*source, PixelsToTwips(inside.x()), PixelsToTwips(inside.y()));
}

void Form::CancelDrag()
{
    dragSource_ = nullptr;
    if (outline_) outline_->hide();
}

bool LockWindowUpdate(std::uintptr_t hWnd)
{
    if (hWnd == 0) {
        if (lockedForm) lockedForm->Window()->setUpdatesEnabled(true);
        lockedForm = nullptr;
        return true;
    }
    for (const Form* form : LiveForms()) {
        if (form->hWnd() != hWnd) continue;
        // One window at a time, as the system call allows.
        if (lockedForm && lockedForm != form) return false;
        lockedForm = form;
        form->Window()->setUpdatesEnabled(false);
        return true;
    }
    return false;
}

} // namespace platform
