// Addresses as one vCard 3.0 file (RFC 2426). Phones go to TEL or EMAIL by their label, the
// phone the handheld showed in its list is the preferred one, and the four custom fields
// keep their names as X-PALM-CUSTOM properties with an X-LABEL.
#pragma once

#include "export/AddressDecoder.h"
#include "export/ExportOptions.h"

#include <QList>
#include <QString>

QString AddressesAsVCards(const QList<Address>& addresses, const AddressAppInfo& appInfo,
                          const ExportOptions& options);

// A vCard's formatted name: first and last name, else the company, else the first phone.
QString FormattedName(const Address& address);
