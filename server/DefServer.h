#pragma once
#include <httplib.h>

#include "Repository.h"
#include "SubmissionLog.h"

namespace vedozer::server {

// The requests of the definition server:
//   /asp/currentDateNEW.asp?prog=&comp=     date of the newest definitions
//   /asp/getDefsNEW.asp?prog=&comp=&date=   update feed since the client's date
//   /asp/date.asp                           date for the client's date.dat after an update
//   /asp/getData.asp?data=                  anonymous data and file submissions
//   /Languages/<n>/Localization.txt         the language file of product n
void installRoutes(httplib::Server& server, Repository& repository, SubmissionLog& submissions, bool quiet);

}  // namespace vedozer::server
