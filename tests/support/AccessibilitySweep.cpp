#include "AccessibilitySweep.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextDocument>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace tessaron::test {

namespace {

// Text as a listener compares it: no mnemonic marker, no markup, no padding.
QString plain(const QString& text, bool rich = false)
{
    QString result = text;
    if (rich) {
        QTextDocument document;
        document.setHtml(text);
        result = document.toPlainText();
    }
    return result.remove(QLatin1Char('&')).simplified();
}

// A text's words as a listener hears them, without case or dots: "Set Com
// Port..." and "RS-232 serial ..... Physical DB-9".
QString words(const QString& text)
{
    static const QRegularExpression gaps(QStringLiteral("[^\\w#]+"));
    return plain(text).toLower().split(gaps, Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

QWidget* deepestProxy(QWidget* w)
{
    QWidget* proxy = w->focusProxy();
    while (proxy != nullptr && proxy->focusProxy() != nullptr) {
        proxy = proxy->focusProxy();
    }
    return proxy;
}

// Whether Tab stops at w, as QWidget::focusNextPrevChild decides.
bool takesTab(QWidget* w, QWidget* window)
{
    QWidget* proxy = deepestProxy(w);
    QWidget* target = proxy != nullptr ? proxy : w;
    const bool part = proxy != nullptr && proxy->isAncestorOf(w);
    return w->window() == window && w != window && !part && w->isVisibleTo(window) &&
           w->isEnabled() && target->isEnabled() &&
           (target->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Whether a reads before b: compared where their branches part, top to
// bottom, and left to right for two that share a row (overlapping by at
// least half the smaller height), so that a column of groups reads as a
// whole before the column beside it.
bool readsBefore(QWidget* a, QWidget* b)
{
    if (a->isAncestorOf(b) || b->isAncestorOf(a)) {
        return a->isAncestorOf(b);
    }
    QWidget* branchA = a;
    while (!branchA->parentWidget()->isAncestorOf(b)) {
        branchA = branchA->parentWidget();
    }
    QWidget* branchB = b;
    while (branchB->parentWidget() != branchA->parentWidget()) {
        branchB = branchB->parentWidget();
    }
    const QRect ra = branchA->geometry();
    const QRect rb = branchB->geometry();
    const int overlap = std::min(ra.bottom(), rb.bottom()) - std::max(ra.top(), rb.top()) + 1;
    if (2 * overlap >= std::min(ra.height(), rb.height())) {
        return ra.left() < rb.left();
    }
    return ra.top() < rb.top();
}

struct Subject
{
    QWidget* Widget;
    QAccessible::Role Role;
    QString Name; // as the bus reports it
    bool Control; // the keyboard reaches it
    bool TabStop; // Tab stops at it
};

// One window (one page) as the rules see it.
struct Sweep
{
    std::vector<Subject> Subjects;
    std::vector<QWidget*> Tabs; // the Tab stops from the first control in reading order

    qsizetype tabIndex(QWidget* w) const
    {
        const auto at = std::find(Tabs.begin(), Tabs.end(), w);
        return at == Tabs.end() ? -1 : at - Tabs.begin();
    }
};

QString described(QWidget* w)
{
    if (!w->objectName().isEmpty()) {
        return w->objectName();
    }
    QWidget* named = w->parentWidget();
    while (named != nullptr && named->objectName().isEmpty()) {
        named = named->parentWidget();
    }
    return QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" in ") +
           (named != nullptr ? named->objectName() : QStringLiteral("?"));
}

// A broken rule tells more of what is wrong.
using Broken = std::optional<QString>;
struct Rule
{
    const char* What;
    std::function<Broken(const Sweep&, const Subject&)> Check;
};

const Rule Rules[] = {
    {"a control without a name",
     [](const Sweep&, const Subject& s) -> Broken {
         return s.Control && s.Name.trimmed().isEmpty() ? Broken(QString()) : std::nullopt;
     }},
    {"named like another control of its role",
     [](const Sweep& sweep, const Subject& s) -> Broken {
         for (const Subject& other : sweep.Subjects) {
             if (s.Control && other.Control && other.Widget != s.Widget && other.Role == s.Role &&
                 !s.Name.isEmpty() && plain(other.Name) == plain(s.Name)) {
                 return QStringLiteral("\"%1\", as %2").arg(s.Name, described(other.Widget));
             }
         }
         return std::nullopt;
     }},
    {"name without its caption",
     [](const Sweep&, const Subject& s) -> Broken {
         const auto* button = qobject_cast<QAbstractButton*>(s.Widget);
         const QString caption = button != nullptr ? words(button->text()) : QString();
         if (words(s.Name).contains(caption)) {
             return std::nullopt;
         }
         return QStringLiteral("\"%1\" for \"%2\"").arg(s.Name, caption);
     }},
    {"name without the value shown",
     [](const Sweep&, const Subject& s) -> Broken {
         const auto* label = qobject_cast<QLabel*>(s.Widget);
         if (label == nullptr || !label->pixmap().isNull()) {
             return std::nullopt;
         }
         const bool rich =
             label->textFormat() == Qt::RichText ||
             (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
         const QString shown = plain(label->text(), rich);
         if (words(s.Name).contains(words(shown))) {
             return std::nullopt;
         }
         return QStringLiteral("\"%1\" for \"%2\"").arg(s.Name, shown);
     }},
    {"not reached by Tab",
     [](const Sweep& sweep, const Subject& s) -> Broken {
         if (!s.TabStop || sweep.tabIndex(s.Widget) >= 0) {
             return std::nullopt;
         }
         return QStringLiteral("from %1").arg(described(sweep.Tabs.front()));
     }},
    {"reached by Tab out of reading order",
     [](const Sweep& sweep, const Subject& s) -> Broken {
         const qsizetype i = sweep.tabIndex(s.Widget);
         if (i <= 0 || !readsBefore(s.Widget, sweep.Tabs[size_t(i - 1)])) {
             return std::nullopt;
         }
         return QStringLiteral("after %1").arg(described(sweep.Tabs[size_t(i - 1)]));
     }},
};

Sweep look(QWidget& window)
{
    Sweep sweep;
    QWidget* first = nullptr;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || w->window() != &window) {
            continue;
        }
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (face == nullptr) {
            continue;
        }
        // A part of a compound control: the editor that takes a spin box's
        // focus, the view or editor that passes its focus to its owner.
        QWidget* owner = w->parentWidget();
        while (owner != nullptr && deepestProxy(owner) != w) {
            owner = owner->parentWidget();
        }
        QWidget* target = deepestProxy(w) != nullptr ? deepestProxy(w) : w;
        const bool part = owner != nullptr || (target != w && target->isAncestorOf(w));
        // Tab reaches it, or the arrow keys do (the unchecked buttons of a group).
        const bool control = !part && ((target->focusPolicy() & Qt::TabFocus) != 0 ||
                                       (qobject_cast<QAbstractButton*>(target) != nullptr &&
                                        target->focusPolicy() != Qt::NoFocus));
        const bool tabStop = control && takesTab(w, &window);
        sweep.Subjects.push_back(
            {w, face->role(), face->text(QAccessible::Name), control, tabStop});
        if (tabStop && (first == nullptr || readsBefore(w, first))) {
            first = w;
        }
    }
    // Tab from the first control until it comes round again.
    for (QWidget* stop = first; stop != nullptr && sweep.tabIndex(stop) < 0;) {
        sweep.Tabs.push_back(stop);
        QWidget* focus = deepestProxy(stop) != nullptr ? deepestProxy(stop) : stop;
        QWidget* next = nullptr;
        for (QWidget* w = focus->nextInFocusChain(); w != focus && next == nullptr;
             w = w->nextInFocusChain()) {
            if (takesTab(w, &window) && deepestProxy(w) != focus) {
                next = w;
            }
        }
        stop = next;
    }
    return sweep;
}

void check(QWidget& window, const QString& page, std::set<std::string>& problems)
{
    QApplication::processEvents(); // a page just brought forward lays itself out
    const Sweep sweep = look(window);
    for (const Subject& s : sweep.Subjects) {
        for (const Rule& rule : Rules) {
            if (const Broken broken = rule.Check(sweep, s)) {
                problems.insert(
                    QStringLiteral("%1%2: %3 %4")
                        .arg(page, described(s.Widget), QLatin1String(rule.What), *broken)
                        .trimmed()
                        .toStdString());
            }
        }
    }
}

} // namespace

std::vector<std::string> AccessibilityProblems(QWidget& window)
{
    std::set<std::string> problems;
    if (!window.isVisible()) {
        return {described(&window).toStdString() + ": not shown"};
    }
    QList<QTabWidget*> tabWidgets = window.findChildren<QTabWidget*>();
    tabWidgets.removeIf([&](QTabWidget* pages) { return !pages->isVisibleTo(&window); });
    if (tabWidgets.isEmpty()) {
        check(window, QString(), problems);
    }
    for (QTabWidget* pages : tabWidgets) {
        const int shown = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->isTabVisible(i) && pages->isTabEnabled(i)) {
                pages->setCurrentIndex(i);
                check(window, QStringLiteral("[%1] ").arg(plain(pages->tabText(i))), problems);
            }
        }
        pages->setCurrentIndex(shown);
    }
    return {problems.begin(), problems.end()};
}

} // namespace tessaron::test
