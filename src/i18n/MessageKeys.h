#pragma once

// Keys of the message catalogue, spelled as localization files carry them.
namespace vedozer::msg {

inline constexpr char MSG_THANK1[] = "MSG_THANK1";
inline constexpr char MSG_THANK2[] = "MSG_THANK2";
inline constexpr char MSG_THANK3[] = "MSG_THANK3";
inline constexpr char MSG_THANK4[] = "MSG_THANK4";
inline constexpr char MSG_MISSING[] = "MSG_MISSING";
inline constexpr char MSG_PAUSED[] = "MSG_PAUSED";
inline constexpr char MSG_SURE[] = "MSG_SURE";
inline constexpr char MSG_EXCLUDE1[] = "MSG_EXCLUDE1";
inline constexpr char MSG_EXCLUDE2[] = "MSG_EXCLUDE2";
inline constexpr char MSG_INTERNET[] = "MSG_INTERNET";
inline constexpr char MSG_ANON1[] = "MSG_ANON1";
inline constexpr char MSG_ANON2[] = "MSG_ANON2";
inline constexpr char MSG_ANON3[] = "MSG_ANON3";
inline constexpr char MSG_ANON4[] = "MSG_ANON4";
inline constexpr char MSG_SORRY[] = "MSG_SORRY";
inline constexpr char MSG_SORRY2[] = "MSG_SORRY2";
inline constexpr char MSG_EXC_SURE1[] = "MSG_EXC_SURE1";
inline constexpr char MSG_EXC_SURE2[] = "MSG_EXC_SURE2";
inline constexpr char MSG_EXC_SURE3[] = "MSG_EXC_SURE3";
inline constexpr char MSG_EXC_SURE4[] = "MSG_EXC_SURE4";
inline constexpr char MSG_DATE[] = "MSG_DATE";
inline constexpr char MSG_STOP[] = "MSG_STOP";
inline constexpr char MSG_SELECTED[] = "MSG_SELECTED";
inline constexpr char MSG_CONFIRM1[] = "MSG_CONFIRM1";
inline constexpr char MSG_CONFIRM2[] = "MSG_CONFIRM2";
inline constexpr char MSG_CONFIRM3[] = "MSG_CONFIRM3";
inline constexpr char MSG_CONFIRM4[] = "MSG_CONFIRM4";
inline constexpr char MSG_ERROR_STOPPED[] = "MSG_ERROR_STOPPED";
inline constexpr char MSG_FOUND1[] = "MSG_FOUND1";
inline constexpr char MSG_FOUND2[] = "MSG_FOUND2";
inline constexpr char MSG_FOUND3[] = "MSG_FOUND3";
inline constexpr char MSG_CLOSING[] = "MSG_CLOSING";
inline constexpr char MSG_REALLY[] = "MSG_REALLY";
inline constexpr char MSG_REMOVING[] = "MSG_REMOVING";
inline constexpr char MSG_REMOVING2[] = "MSG_REMOVING2";
inline constexpr char MSG_COMPLETED[] = "MSG_COMPLETED";
inline constexpr char MSG_MISSINGFILES[] = "MSG_MISSINGFILES";
inline constexpr char MSG_NOCOMPANY[] = "MSG_NOCOMPANY";
inline constexpr char MSG_DOWNLOADING[] = "MSG_DOWNLOADING";
inline constexpr char MSG_CONNECTING[] = "MSG_CONNECTING";
inline constexpr char MSG_CHECKING[] = "MSG_CHECKING";
inline constexpr char MSG_CONNECTING2[] = "MSG_CONNECTING2";
inline constexpr char MSG_SENDING[] = "MSG_SENDING";
inline constexpr char MSG_SENT[] = "MSG_SENT";
inline constexpr char MSG_RECEIVING[] = "MSG_RECEIVING";
inline constexpr char MSG_SCAN_CANCELLED[] = "MSG_SCAN_CANCELLED";
inline constexpr char MSG_SCAN_COMPLETED[] = "MSG_SCAN_COMPLETED";
inline constexpr char MSG_RESULTS[] = "MSG_RESULTS";
inline constexpr char MSG_RESULTS_THANK[] = "MSG_RESULTS_THANK";
inline constexpr char MSG_PROBLEM[] = "MSG_PROBLEM";
inline constexpr char MSG_PROBLEM2[] = "MSG_PROBLEM2";
inline constexpr char MSG_UPDATED_DEFS[] = "MSG_UPDATED_DEFS";
inline constexpr char MSG_RECENT_DEFS[] = "MSG_RECENT_DEFS";
inline constexpr char MSG_WEBSITE[] = "MSG_WEBSITE";
inline constexpr char MSG_CAPTION[] = "MSG_CAPTION";
inline constexpr char MSG_CAPTION2[] = "MSG_CAPTION2";
inline constexpr char MSG_COOKIES[] = "MSG_COOKIES";
inline constexpr char MSG_COOKIES_FINISHED[] = "MSG_COOKIES_FINISHED";
inline constexpr char MSG_MEMORY[] = "MSG_MEMORY";
inline constexpr char MSG_NOTSELECED[] = "MSG_NOTSELECED";
inline constexpr char MSG_REGISTRY[] = "MSG_REGISTRY";
inline constexpr char MSG_SPYWARE[] = "MSG_SPYWARE";
inline constexpr char MSG_INFORMATION[] = "MSG_INFORMATION";
inline constexpr char MSG_RESTOREPOINT[] = "MSG_RESTOREPOINT";
// The removal prompt's last paragraph on an offline installation, which has no System Restore.
inline constexpr char MSG_CONFIRM_HIVES[] = "MSG_CONFIRM_HIVES";
inline constexpr char MSG_COMPLETE[] = "MSG_COMPLETE";

// The language window: its title, the notice after a language file was downloaded, and what the
// person reads when a language file cannot be used.
inline constexpr char MSG_TITLELANGUAGE[] = "MSG_TITLELANGUAGE";
inline constexpr char MSG_DOWNLOADED[] = "MSG_DOWNLOADED";
inline constexpr char MSG_LANGUAGE_UNUSABLE[] = "MSG_LANGUAGE_UNUSABLE";
inline constexpr char MSG_LANGUAGE_NOT_UPDATED[] = "MSG_LANGUAGE_NOT_UPDATED";

}  // namespace vedozer::msg
