#include "forms/Confetti.h"

#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Random.h"
#include "forms/Units.h"
#include "machine/Clock.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cmath>

namespace platform {

namespace {

constexpr double Seconds = 5.0;
constexpr int Pieces = 120;
constexpr double Pi = 3.14159265358979;

struct Piece {
    double x, start, fall, sway, swayRate, spin, size; // in shares of the client area and seconds
    QColor colour;
    bool round;
};

class ConfettiWidget : public QWidget {
public:
    ConfettiWidget(QWidget* client, const std::vector<Image*>& jumpers, const Clock& clock)
        : QWidget(client),
          clock_(clock),
          start_(clock.Milliseconds())
    {
        for (Image* jumper : jumpers) jumpers_.emplace_back(jumper, jumper->Widget());
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const QColor colours[] = {{235, 64, 52},  {255, 196, 0},  {52, 168, 83},
                                  {66, 133, 244}, {171, 71, 188}, {255, 112, 67}};
        for (Piece& p : pieces_)
            p = {Rnd(),         Rnd() * 0.8 - 0.5,     0.25 + Rnd() * 0.2,      0.01 + Rnd() * 0.03, 1 + Rnd() * 2,
                 Rnd() * 6 - 3, 0.012 + Rnd() * 0.012, colours[int(Rnd() * 6)], Rnd() < 1.0 / 3};
        connect(&timer_, &QTimer::timeout, this, [this] { Frame((clock_.Milliseconds() - start_) / 1000.0); });
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.start(16);
        setGeometry(client->rect());
        raise();
        show();
    }

    ~ConfettiWidget() override
    {
        // The pictures land where the screen has them, unless the screen is going with them.
        for (auto& [image, widget] : jumpers_)
            if (widget) image->Move(image->Left(), image->Top(), image->Width(), image->Height());
    }

    void Frame(double t)
    {
        if (t >= Seconds) return End();
        if (geometry() != parentWidget()->rect()) setGeometry(parentWidget()->rect());
        t_ = t;
        // Each piece's own small rectangle: given a region at once, the window would repaint
        // its bounding rectangle, the whole screen, under the confetti.
        for (std::size_t i = 0; i < pieces_.size(); ++i) {
            update(shown_[i]);
            update(shown_[i] = Place(pieces_[i], t));
        }
        for (std::size_t i = 0; i < jumpers_.size(); ++i) {
            const auto& [image, widget] = jumpers_[i];
            const double hop = std::abs(std::sin(Pi * (t * 2.2 + 0.3 * double(i)))) * 0.22 * widget->height();
            widget->move(widget->x(), TwipsToPixels(image->Top()) - int(hop));
        }
    }

    bool Running() const { return !ended_; }

    // The frames from here on come from the caller, not from the clock.
    void Drive(double t)
    {
        timer_.stop();
        Frame(t);
    }

    // Off the screen at once, gone once the event loop is back.
    void End()
    {
        ended_ = true;
        timer_.stop();
        hide();
        deleteLater();
    }

protected:
    // Its screen has left the display: it ends with it.
    void hideEvent(QHideEvent*) override
    {
        if (!isHidden()) End();
    }

    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (const Piece& piece : pieces_) {
            const QRect box = Place(piece, t_);
            if (!box.intersects(e->rect())) continue;
            p.save();
            p.translate(box.center());
            p.rotate(piece.spin * t_ * 90);
            p.setBrush(piece.colour);
            // Turning, a shape stays inside its box: a strip of 0.8 by 0.4, a disc of 0.6.
            const double side = box.width() - 2;
            if (piece.round)
                p.drawEllipse(QPointF(0, 0), side * 0.3, side * 0.3);
            else
                p.drawRect(QRectF(-side * 0.4, -side * 0.2, side * 0.8, side * 0.4));
            p.restore();
        }
    }

private:
    // Where a piece is at time t: falling from where it started, some above the top and some in
    // the upper part of the screen, swaying, back from the top when it has left the bottom.
    QRect Place(const Piece& p, double t) const
    {
        const double side = p.size * height() * 1.6;
        const double y = std::fmod(p.start + t * p.fall + 1.1, 1.1) * height() - side;
        const double x = (p.x + p.sway * std::sin(p.swayRate * t * 2 * Pi)) * width();
        return QRectF(x - side / 2, y - side / 2, side, side).toAlignedRect().adjusted(-1, -1, 1, 1);
    }

    std::array<Piece, Pieces> pieces_;
    std::array<QRect, Pieces> shown_;
    std::vector<std::pair<Image*, QPointer<QWidget>>> jumpers_;
    QTimer timer_;
    bool ended_ = false;
    const Clock& clock_;
    qint64 start_;
    double t_ = 0;
};

} // namespace

Confetti::Confetti(const Clock& clock)
    : clock_(clock)
{}

Confetti::~Confetti() { Stop(); }

void Confetti::Start(Form& form, const std::vector<Image*>& jumpers)
{
    Stop();
    shown_ = new ConfettiWidget(form.Client(), jumpers, clock_);
}

void Confetti::Stop() { delete shown_.data(); }

bool Confetti::Running() const { return shown_ && static_cast<ConfettiWidget*>(shown_.data())->Running(); }

void Confetti::Frame(double seconds)
{
    if (auto* widget = static_cast<ConfettiWidget*>(shown_.data())) widget->Drive(seconds);
}

} // namespace platform
