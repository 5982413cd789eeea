#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

// Answers every question the office would put to a user while loading (an unreadable
// file, a lock held by someone else, a damaged document) with "abort": the request
// fails at once instead of waiting on a dialog nobody asked for.
class RefusingInteraction : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
  public:
    void SAL_CALL
    handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;
};
