#pragma once

#include <QByteArray>
#include <QUrl>
#include <functional>
#include <memory>

class QWidget;

// The browser control of the windows that show pages of the centre's web servers. The program
// shows them in Qt WebEngine; tests put a view of their own in its place.
class PageView {
public:
    virtual ~PageView() = default;

    // The widget that shows the page.
    virtual QWidget* Widget() = 0;
    virtual void Navigate(const QUrl& url) = 0;
    // Posts the form-encoded body to url, with nothing taken from or put into the cache.
    virtual void Post(const QUrl& url, const QByteArray& body) = 0;

    // Called once a page has arrived (true) or could not be had (false).
    std::function<void(bool arrived)> onLoaded;
};

using PageViewMaker = std::function<std::unique_ptr<PageView>(QWidget* parent)>;

// A new view as the windows make it; null puts back the Qt WebEngine view.
std::unique_ptr<PageView> MakePageView(QWidget* parent);
void SetPageViewMaker(PageViewMaker maker);
