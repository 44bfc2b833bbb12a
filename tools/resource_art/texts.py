"""Stock titles and messages offered by the invitation wizard's text picker.

One entry per line in the files, so no entry may hold a line break; typographic apostrophes and
dashes make them read like printed cards.
"""

import os

TITLES = [
    "Happy Birthday!",
    "Happy Birthday to You",
    "You’re Invited!",
    "Let’s Celebrate!",
    "It’s Party Time!",
    "Join the Celebration",
    "Make a Wish!",
    "Cake, Candles & Confetti",
    "Hip Hip Hooray!",
    "Birthday Bash",
    "A Sweet Celebration",
    "Cheers to Another Year!",
    "Happy First Birthday",
    "Sweet Sixteen",
    "Fabulous at Fifty",
    "Forever Young",
    "Save the Date",
    "Party Like It’s Your Birthday",
    "Wishing You Sunshine",
    "The Big Day Is Here",
    "Surprise! You’re Invited",
    "Hooray for Today!",
    "Best Wishes on Your Birthday",
    "Come Party With Us",
    "Birthday Brunch",
    "A Garden Party",
    "Oh, What Fun!",
    "Another Year of Awesome",
    "Thank You for Celebrating With Us",
    "Little One Turns One",
]

MESSAGES = [
    "Wishing you a day filled with laughter, love and all your favourite things.",
    "May this year bring you happiness, good health and every dream come true.",
    "Please join us for cake, games and plenty of fun as we celebrate a very special birthday.",
    "Another trip around the sun — here’s to all the adventures still to come!",
    "You are warmly invited to an afternoon of good food, great friends and happy memories.",
    "Hope your birthday is as bright and wonderful as you are.",
    "Come celebrate with us! Balloons, music and a very big cake are waiting.",
    "Blow out the candles, make a wish and enjoy every moment of your special day.",
    "Sending you a big birthday hug and the warmest wishes for the year ahead.",
    "Grab your party hat and join the fun — it wouldn’t be a party without you!",
    "Cheers to you on your birthday: may your glass be full and your heart be light.",
    "Life is a party, so let’s celebrate yours together.",
    "Thank you for being such a wonderful friend. Happy birthday!",
    "We would love for you to be there as we raise a glass to another fabulous year.",
    "Here’s to laughter, cake and the people who make life sweet.",
    "May your day be sprinkled with joy and your year with success.",
    "Our little one is turning one! Please join us for a first birthday full of smiles.",
    "Dress to impress and get ready to dance the night away.",
    "A surprise party is in the works — shh, don’t tell the birthday star!",
    "Kindly reply by the date below so we can save you a slice of cake.",
    "Wishing you sunshine, laughter and a year full of good surprises.",
    "Age is merely the number of years the world has been enjoying you.",
    "Today is all about you. Relax, smile and let us spoil you a little.",
    "Join us in the garden for a relaxed afternoon of lemonade, games and birthday cake.",
    "Celebrate with us over brunch, bubbles and birthday wishes.",
    "You make every day brighter — may your birthday shine just as bright.",
    "From all of us to you: the happiest of birthdays and the best of years.",
    "Your presence is the only present we need — just bring your smile!",
    "Candles lit, friends gathered, music on: the party starts when you arrive.",
    "Warmest wishes on your birthday, today and always.",
    "One more candle, one more reason to celebrate how wonderful you are.",
]


def _write(path, entries):
    for entry in entries:
        if not entry.strip() or "\n" in entry or "\r" in entry or entry != entry.strip():
            raise ValueError(f"stock text entry unfit for a one-per-line file: {entry!r}")
    if len(set(entries)) != len(entries):
        raise ValueError(f"duplicate stock text entries for {path}")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(entries) + "\n")


def write_all(seed_dir):
    _write(os.path.join(seed_dir, "Title.txt"), TITLES)
    _write(os.path.join(seed_dir, "Message.txt"), MESSAGES)
