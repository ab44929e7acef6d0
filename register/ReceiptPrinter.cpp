#include "ReceiptPrinter.h"

#include <cups/cups.h>

#include <cerrno>
#include <memory>
#include <stdexcept>

#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// A scheduler that does not answer, or a network gone silent, holds the desk a few seconds at
// most: every request goes through a connection of our own with a limit on each wait, never
// through CUPS's shared one, which waits as long as the scheduler keeps the connection open.
constexpr int ConnectTimeoutMilliseconds = 3000;
constexpr double AnswerTimeoutSeconds = 5.0;

struct ConnectionClose {
    void operator()(http_t* connection) const { httpClose(connection); }
};
using Connection = std::unique_ptr<http_t, ConnectionClose>;

struct MessageDelete {
    void operator()(ipp_t* message) const { ippDelete(message); }
};
using IppMessage = std::unique_ptr<ipp_t, MessageDelete>;

const char* const NotAnswering = N_("tlačový server neodpovedá.");

Connection ConnectToScheduler() {
    Connection connection(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                       cupsEncryption(), 1, ConnectTimeoutMilliseconds, nullptr));
    if (connection) {
        httpSetTimeout(connection.get(), AnswerTimeoutSeconds, nullptr, nullptr);
    }
    return connection;
}

// Whether the scheduler gave no answer in time, or none at all.
bool SchedulerSilent(http_t* connection) {
    return connection == nullptr || httpError(connection) == ETIMEDOUT ||
           cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
}

// Why the last request on the connection failed, in words for the cashier.
std::string FailureReason(http_t* connection) {
    return SchedulerSilent(connection) ? _(NotAnswering) : cupsLastErrorString();
}

// One Print-Job request: the file goes with the request, the answer carries the job number.
int PrintJob(http_t* connection, const std::string& printer, const std::string& path,
             const std::string& title) {
    const std::string resource = "/printers/" + printer;
    char uri[HTTP_MAX_URI];
    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                    resource.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 "application/pdf");
    // cupsDoFileRequest frees the request.
    const IppMessage answer(cupsDoFileRequest(connection, request, resource.c_str(), path.c_str()));
    if (!answer || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        return 0;
    }
    ipp_attribute_t* job = ippFindAttribute(answer.get(), "job-id", IPP_TAG_INTEGER);
    return job == nullptr ? 0 : ippGetInteger(job, 0);
}

}  // namespace

std::string ReceiptPrinter::OnPrinter() const {
    return printerName_.empty() ? _("na predvolenej tlačiarni")
                                : FormatText(_("na tlačiarni „%s“"), printerName_.c_str());
}

int ReceiptPrinter::Print(const std::string& path, const std::string& title) const {
    const Connection connection = ConnectToScheduler();
    std::string destination = printerName_;
    if (connection && destination.empty()) {
        const char* byDefault = cupsGetDefault2(connection.get());
        if (byDefault == nullptr && !SchedulerSilent(connection.get())) {
            throw std::runtime_error(
                _("Účet sa nepodarilo vytlačiť: nie je nastavená žiadna predvolená tlačiareň."));
        }
        destination = byDefault == nullptr ? "" : byDefault;
    }
    const int job = connection && !destination.empty()
                        ? PrintJob(connection.get(), destination, path, title)
                        : 0;
    if (job == 0) {
        const std::string reason = FailureReason(connection.get());
        LogMessage(LogError, "ReceiptPrinter: '%s' not printed on '%s' (server '%s'): %s\n",
                   path.c_str(), destination.c_str(), cupsServer(), reason.c_str());
        throw std::runtime_error(FormatText(_("Účet sa nepodarilo vytlačiť %s: %s"),
                                            OnPrinter().c_str(), reason.c_str()));
    }
    LogMessage(LogInfo, "ReceiptPrinter: '%s' sent to '%s' as job %i\n", path.c_str(),
               destination.c_str(), job);
    return job;
}

}  // namespace Kramo
