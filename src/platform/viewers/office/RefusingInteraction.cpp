#include "RefusingInteraction.h"

#include <com/sun/star/task/XInteractionAbort.hpp>

using namespace css;

void RefusingInteraction::handle(const uno::Reference<task::XInteractionRequest>& request) {
    const uno::Sequence<uno::Reference<task::XInteractionContinuation>> choices =
        request->getContinuations();
    for (const uno::Reference<task::XInteractionContinuation>& choice : choices) {
        const uno::Reference<task::XInteractionAbort> abort(choice, uno::UNO_QUERY);
        if (abort.is()) {
            abort->select();
            return;
        }
    }
}
