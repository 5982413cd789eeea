#include "OfficeSession.h"

#include "RefusingInteraction.h"

#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/XTopWindow2.hpp>
#include <com/sun/star/awt/XVclWindowPeer.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/StartModule.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <vector>

using namespace css;
using rtl::OUString;

namespace {

OUString fromUtf8(const std::string& text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

// The local UNO runtime, made once per process from the office's own bootstrap file
// (without it the type descriptions of the office's interfaces are missing).
uno::Reference<uno::XComponentContext> localContext() {
    static const uno::Reference<uno::XComponentContext> context = [] {
        rtl::Bootstrap::setIniFilename(
            fromUtf8("file://" TAVRIN_OFFICE_PROGRAM_FOLDER "/fundamentalrc"));
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

beans::PropertyValue property(const char* name, const uno::Any& value) {
    beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

void setUnmodified(const uno::Reference<uno::XInterface>& document) {
    try {
        uno::Reference<util::XModifiable> modifiable(document, uno::UNO_QUERY);
        if (modifiable.is())
            modifiable->setModified(false);
    } catch (const uno::Exception&) {
        // A read-only document may refuse the change; closing it still discards nothing.
    }
}

// Closes a document without saving and without asking: a modified document would
// otherwise wait on the office's save question.
void closeWithoutSaving(const uno::Reference<uno::XInterface>& document) {
    setUnmodified(document);
    uno::Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
    if (closeable.is())
        closeable->close(true);
}

uno::Reference<awt::XWindow> frameWindow(const uno::Reference<frame::XFrame>& frame) {
    return frame.is() ? frame->getContainerWindow() : nullptr;
}

// An emptied window keeps the closed document's name in its title bar otherwise; the next
// document loaded in it names it again.
void nameEmptyWindow(const uno::Reference<awt::XWindow>& window) {
    const uno::Reference<awt::XVclWindowPeer> peer(window, uno::UNO_QUERY);
    // Marked deprecated in the office's interfaces, yet the one way to set a window's
    // title without fixing it for every later document.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (peer.is())
        peer->setProperty("Title", uno::Any(OUString("LibreOffice")));
#pragma GCC diagnostic pop
}

uno::Reference<frame::XFrame> frameOf(const uno::Reference<frame::XModel>& document) {
    const uno::Reference<frame::XController> controller = document->getCurrentController();
    return controller.is() ? controller->getFrame() : nullptr;
}

} // namespace

OfficeSession::OfficeSession(const std::string& pipeName) {
    const uno::Reference<uno::XComponentContext> local = localContext();
    const uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
    const uno::Reference<uno::XComponentContext> remote(
        resolver->resolve("uno:pipe,name=" + fromUtf8(pipeName) +
                          ";urp;StarOffice.ComponentContext"),
        uno::UNO_QUERY_THROW);
    context_ = remote;
    desktop_ = frame::Desktop::create(remote);
}

bool OfficeSession::alive() {
    desktop_->getFrames()->getCount();
    return true;
}

bool OfficeSession::open(const OUString& fileUrl, bool readOnly, OfficeKind kind) {
    const bool spreadsheet = kind == OfficeKind::Calc;
    std::vector<beans::PropertyValue> args{
        property("ReadOnly", uno::Any(readOnly)),
        property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)),
        property("InteractionHandler",
                 uno::Any(uno::Reference<task::XInteractionHandler>(new RefusingInteraction)))};
    if (spreadsheet)
        args.push_back(property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)));
    if (spreadsheet && fileUrl.endsWithIgnoreAsciiCase(".csv")) {
        // Given its options, the text import does not ask for them: comma separated,
        // double quotes, UTF-8, from the first line.
        args.push_back(property("FilterName", uno::Any(OUString("Text - txt - csv (StarCalc)"))));
        args.push_back(property("FilterOptions", uno::Any(OUString("44,34,76,1"))));
    }
    const uno::Sequence<beans::PropertyValue> properties(args.data(),
                                                         static_cast<sal_Int32>(args.size()));
    const uno::Reference<frame::XComponentLoader> kept = emptyKeptFrame();
    const uno::Reference<lang::XComponent> loaded =
        kept.is() ? kept->loadComponentFromURL(fileUrl, "_self", 0, properties)
                  : desktop_->loadComponentFromURL(fileUrl, "_default", 0, properties);
    uno::Reference<frame::XModel> model(loaded, uno::UNO_QUERY);
    if (!model.is())
        return false;
    document_ = model;
    frame_ = frameOf(model);
    return true;
}

uno::Reference<frame::XComponentLoader> OfficeSession::emptyKeptFrame() {
    try {
        if (frame_.is() && !frame_->getController().is())
            return uno::Reference<frame::XComponentLoader>(frame_, uno::UNO_QUERY);
    } catch (const lang::DisposedException&) {
        frame_.clear();
    }
    return nullptr;
}

// Takes the document's view out of its window first: the window stays where it is, empty,
// for the next document, and the document left without a view can be closed. Putting
// the start centre there instead would double the time a reuse takes.
void OfficeSession::closeDocument() {
    if (!document_.is())
        return;
    const uno::Reference<frame::XModel> document = document_;
    document_.clear();
    try {
        setUnmodified(document); // or the view would ask whether to save
        const uno::Reference<frame::XFrame> frame = frameOf(document);
        if (frame.is() && frame->setComponent(nullptr, nullptr)) {
            frame_ = frame;
            nameEmptyWindow(frame->getContainerWindow());
        }
    } catch (const lang::DisposedException&) {
        // The user closed the document's window already.
    }
    closeWithoutSaving(document);
}

// Fills an emptied window with the start centre, as the office shows after its last
// document was closed by hand.
void OfficeSession::showStartCentreInEmptyFrame() {
    if (!emptyKeptFrame().is())
        return;
    const uno::Reference<frame::XController> start =
        frame::StartModule::createWithParentWindow(context_, frame_->getContainerWindow());
    const uno::Reference<awt::XWindow> startWindow(start, uno::UNO_QUERY);
    if (frame_->setComponent(startWindow, start))
        start->attachFrame(frame_);
}

int OfficeSession::windowState() {
    const uno::Reference<awt::XWindow2> shown(window(), uno::UNO_QUERY);
    if (!shown.is())
        return -1;
    if (!shown->isVisible())
        return 0;
    const uno::Reference<awt::XTopWindow2> top(shown, uno::UNO_QUERY);
    return top.is() && top->getIsMinimized() ? 2 : 1;
}

void OfficeSession::show() {
    const uno::Reference<awt::XWindow> shown = window();
    if (!shown.is())
        return;
    shown->setVisible(true);
    const uno::Reference<awt::XTopWindow> top(shown, uno::UNO_QUERY);
    if (top.is())
        top->toFront();
}

void OfficeSession::minimize() {
    const uno::Reference<awt::XTopWindow2> top(window(), uno::UNO_QUERY);
    if (top.is())
        top->setIsMinimized(true);
    showStartCentreInEmptyFrame();
}

void OfficeSession::restore() {
    const uno::Reference<awt::XTopWindow2> top(window(), uno::UNO_QUERY);
    if (!top.is())
        return;
    top->setIsMinimized(false);
    top->setIsMaximized(false);
}

void OfficeSession::setBounds(int x, int y, int width, int height) {
    const uno::Reference<awt::XWindow> shown = window();
    if (!shown.is())
        return;
    // A maximised window ignores a new rectangle.
    const uno::Reference<awt::XTopWindow2> top(shown, uno::UNO_QUERY);
    if (top.is())
        top->setIsMaximized(false);
    shown->setPosSize(x, y, width, height, awt::PosSize::POSSIZE);
}

void OfficeSession::terminate() {
    const uno::Reference<container::XEnumeration> documents =
        desktop_->getComponents()->createEnumeration();
    while (documents->hasMoreElements())
        closeWithoutSaving(
            uno::Reference<uno::XInterface>(documents->nextElement(), uno::UNO_QUERY));
    document_.clear();
    try {
        desktop_->terminate();
    } catch (const lang::DisposedException&) {
        // The office went away while answering: that is the end asked for.
    }
}

uno::Reference<awt::XWindow> OfficeSession::window() {
    try {
        if (document_.is())
            return frameWindow(frameOf(document_));
    } catch (const lang::DisposedException&) {
        document_.clear(); // the user closed the document in the office itself
    }
    try {
        if (const uno::Reference<awt::XWindow> kept = frameWindow(frame_); kept.is())
            return kept;
    } catch (const lang::DisposedException&) {
        frame_.clear();
    }
    return firstFrameWindow();
}

uno::Reference<awt::XWindow> OfficeSession::firstFrameWindow() {
    const uno::Reference<container::XIndexAccess> frames(desktop_->getFrames(),
                                                         uno::UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
        uno::Reference<frame::XFrame> frame(frames->getByIndex(i), uno::UNO_QUERY);
        if (const uno::Reference<awt::XWindow> w = frameWindow(frame); w.is())
            return w;
    }
    return nullptr;
}

bool OfficeSession::modified() {
    const uno::Reference<util::XModifiable> modifiable(document_, uno::UNO_QUERY);
    return modifiable.is() && modifiable->isModified();
}

bool OfficeSession::save() {
    const uno::Reference<frame::XStorable> storable(document_, uno::UNO_QUERY);
    if (!storable.is() || storable->isReadonly())
        return false;
    storable->store();
    return true;
}
