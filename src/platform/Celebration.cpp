#include "Celebration.h"

#include "Form.h"
#include "Image.h"
#include "Units.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>
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

class Confetti : public QWidget {
public:
    Confetti(QWidget* client, const std::vector<Image*>& jumpers)
        : QWidget(client)
    {
        for (Image* jumper : jumpers) jumpers_.emplace_back(jumper, jumper->Widget());
        setAttribute(Qt::WA_TransparentForMouseEvents);
        QRandomGenerator random(20040421);
        const QColor colours[] = {{235, 64, 52},  {255, 196, 0},  {52, 168, 83},
                                  {66, 133, 244}, {171, 71, 188}, {255, 112, 67}};
        for (Piece& p : pieces_)
            p = {random.generateDouble(),
                 random.generateDouble() * 0.8 - 0.5,
                 0.25 + random.generateDouble() * 0.2,
                 0.01 + random.generateDouble() * 0.03,
                 1 + random.generateDouble() * 2,
                 random.generateDouble() * 6 - 3,
                 0.012 + random.generateDouble() * 0.012,
                 colours[random.bounded(6)],
                 random.bounded(3) == 0};
        connect(&timer_, &QTimer::timeout, this, [this] { Frame(clock_.elapsed() / 1000.0); });
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.start(16);
        clock_.start();
        setGeometry(client->rect());
        raise();
        show();
    }

    ~Confetti() override
    {
        // The pictures land where the screen has them, unless the screen is going with them.
        for (auto& [image, widget] : jumpers_)
            if (widget) image->Move(image->Left(), image->Top(), image->Width(), image->Height());
    }

    // The frames from here on come from the caller, not from the clock.
    void Drive(double t)
    {
        timer_.stop();
        Frame(t);
    }

    void Frame(double t)
    {
        if (t >= Seconds) return deleteLater();
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

protected:
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
    QElapsedTimer clock_;
    double t_ = 0;
};

QPointer<Confetti>& Current()
{
    static QPointer<Confetti> current;
    return current;
}

} // namespace

void Celebration::Start(Form& form, const std::vector<Image*>& jumpers)
{
    Stop();
    Current() = new Confetti(form.Client(), jumpers);
}

void Celebration::Stop() { delete Current().data(); }

bool Celebration::Running() { return Current(); }

void Celebration::Frame(double seconds)
{
    if (Confetti* confetti = Current()) confetti->Drive(seconds);
}

} // namespace platform
