#pragma once

// Where the maker of Festiloom can be reached: its web sites, mail addresses, review page,
// video channel and social-comments page. The maker's own sites use the reserved example
// names until it has real ones; nothing here names a real third party's site or address
// except the social networks whose share pages the share commands open.
namespace HelpSettings {

// The maker's main web site, the share-target site (the one every share command passes on)
// and a third site.
inline constexpr char Website1Host[] = "www.festiloom.example.com";
inline constexpr char Website2Host[] = "share.festiloom.example.org";
inline constexpr char Website3Host[] = "cards.festiloom.example.net";

inline constexpr char SupportMail[] = "support@festiloom.example.com";
inline constexpr char ResellerMail[] = "partners@festiloom.example.com";

// The maker's page on a business-listing service: https://<host>/r/<identifier>/review.
inline constexpr char ReviewHost[] = "reviews.example.com";
inline constexpr char ReviewPageId[] = "festiloom-card-maker";

// The maker's channel on a video-sharing site.
inline constexpr char ChannelAddress[] = "https://videos.example.com/@festiloom";

// The social-comments page at the root of the share-target site.
inline constexpr char SocialCommentsPage[] = "festiloom-comments.html";

// Hosts of the social networks' share pages.
inline constexpr char FacebookHost[] = "www.facebook.com";
inline constexpr char TwitterHost[] = "twitter.com";

} // namespace HelpSettings
