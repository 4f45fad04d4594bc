#include "PageView.h"

#include <QWebEngineHttpRequest>
#include <QWebEngineView>

namespace {

class WebPageView : public PageView {
public:
    explicit WebPageView(QWidget* parent) : m_view(new QWebEngineView(parent))
    {
        QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool ok) {
            if (onLoaded)
                onLoaded(ok);
        });
    }
    QWidget* Widget() override { return m_view; }
    void Navigate(const QUrl& url) override { m_view->load(url); }
    void Post(const QUrl& url, const QByteArray& body) override
    {
        QWebEngineHttpRequest request = QWebEngineHttpRequest::postRequest(url, {});
        request.setHeader("Content-Type", "application/x-www-form-urlencoded");
        request.setHeader("Cache-Control", "no-cache");
        request.setPostData(body);
        m_view->load(request);
    }

private:
    // Owned by its parent window.
    QWebEngineView* m_view;
};

PageViewMaker maker;

} // namespace

std::unique_ptr<PageView> MakePageView(QWidget* parent)
{
    if (maker)
        return maker(parent);
    return std::make_unique<WebPageView>(parent);
}

void SetPageViewMaker(PageViewMaker m) { maker = std::move(m); }
