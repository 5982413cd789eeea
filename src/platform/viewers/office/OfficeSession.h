#pragma once

#include "platform/OfficeKind.h"

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <string>

// One connection to a running office over its UNO pipe, and the document this program
// opened in it. Calls throw what the bridge throws (a dead office: DisposedException);
// the C boundary catches everything.
class OfficeSession {
  public:
    explicit OfficeSession(const std::string& pipeName);

    bool alive();
    bool open(const rtl::OUString& fileUrl, bool readOnly, OfficeKind kind);
    void closeDocument();
    int windowState();
    void show();
    void minimize();
    void restore();
    void setBounds(int x, int y, int width, int height);
    void terminate();
    bool modified();
    bool save();

  private:
    // The window of the document this program opened, else the one it was shown in, else
    // the office's first (the start centre); null when the office shows no window at all.
    css::uno::Reference<css::awt::XWindow> window();
    css::uno::Reference<css::awt::XWindow> firstFrameWindow();
    // The window emptied by closeDocument, when it still is, to load the next document in.
    css::uno::Reference<css::frame::XComponentLoader> emptyKeptFrame();
    void showStartCentreInEmptyFrame();

    css::uno::Reference<css::uno::XComponentContext> context_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    css::uno::Reference<css::frame::XModel> document_;
    // The window of this program's documents.
    css::uno::Reference<css::frame::XFrame> frame_;
};
