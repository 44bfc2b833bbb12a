"""Sends one e-mail for Festiloom.

Command line: sender, SMTP server, port, sender, recipient, subject, body, "Y" (implicit TLS)
or "N" (STARTTLS), then the paths of the attachments in order. Standard input: the password
and a new line, then a JSON object whose "subject" and "body" take the place of the subject
and body arguments (so that a long body never meets the limit of a command line) and whose
"timeout" (seconds, TIMEOUT_SECONDS when absent) is how long the whole send may take: the
connection, every answer of the server and the message, with one deadline, so that a server
that stays silent is given up on within that time and never later.

Exit status 0 when the server took the message; otherwise 1 and one line on standard error
saying why, whatever went wrong, naming the likely cause where it can (a connection that was
never made, a server that does not answer in time, the wrong kind of secure connection for the
port). Control characters never
reach the line, whatever the server sent. The password is never written anywhere.
Attachments are regular files of at most MAX_ATTACHMENT_BYTES together; anything else is
refused before it is read.
"""

import base64
import json
import mimetypes
import os
import re
import smtplib
import socket
import ssl
import stat
import sys
import time
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

TIMEOUT_SECONDS = 30
# What the attachments of one message may hold together: far more than card pictures take,
# and more than most servers accept.
MAX_ATTACHMENT_BYTES = 50 * 1024 * 1024


class Refused(Exception):
    pass


def one_line(text):
    # Control and format characters (ESC, BEL, NUL, bidirectional overrides, ...) a server put
    # in its reply become blanks: the line is shown to the user as it stands.
    printable = "".join(c if c.isprintable() else " " for c in str(text))
    return " ".join(printable.split())


class NoAnswer(Exception):
    """The server did not answer within the time, at the step named."""

    def __init__(self, step, deadline=None):
        super().__init__(step)
        self.step = step
        self.deadline = deadline


class NotConnected(Exception):
    """No connection to the server was made: the reason says why (refused, unreachable, no
    answer to the connection request within the time)."""


class Deadline:
    """One time limit for the whole send: every wait gets what is left of it."""

    def __init__(self, seconds):
        self.end = time.monotonic() + seconds

    def left(self, keep=0.0):
        """The seconds left before the deadline, less `keep` set aside for what follows;
        a socket time-out at once when none are left."""
        left = self.end - time.monotonic() - keep
        if left <= 0:
            raise socket.timeout("the time ran out")
        return left


# What a server of STARTTLS that stays silent leaves for the probe that asks whether it wants
# TLS from the start instead: a share of the time, never more than a few seconds.
PROBE_SHARE = 0.4
PROBE_MOST_SECONDS = 5.0


def probe_reserve(timeout):
    return min(timeout * PROBE_SHARE, PROBE_MOST_SECONDS)


class DeadlineSMTP(smtplib.SMTP):
    """smtplib's client on a connection made already, every exchange within the deadline."""

    def __init__(self, connection, host, port, deadline, keep=0.0):
        self._connection = connection
        self._deadline = deadline
        # The greeting leaves `keep` seconds of the deadline for what follows a silent server.
        self._keep = keep
        super().__init__(host, port, timeout=deadline.left(keep))
        self._keep = 0.0

    def _get_socket(self, host, port, timeout):
        return self._connection

    def send(self, s):
        if self.sock:
            self.sock.settimeout(self._deadline.left(self._keep))
        super().send(s)

    def getreply(self):
        if self.sock:
            self.sock.settimeout(self._deadline.left(self._keep))
        return super().getreply()


# Every character Python (and so the e-mail package) takes as the end of a line.
LINE_BREAKS = "\r\n\v\f\x1c\x1d\x1e\x85\u2028\u2029"
LINE_BREAK = re.compile(r"\s*[%s]+\s*" % re.escape(LINE_BREAKS))


def has_line_break(text):
    return any(c in LINE_BREAKS for c in text)


def single_header(text):
    # A header value never spans lines: every kind of line break becomes a blank.
    return LINE_BREAK.sub(" ", text).strip()


def address(text, what):
    text = text.strip()
    if not text or has_line_break(text) or "\0" in text or " " in text:
        raise Refused("invalid %s address" % what)
    return text


def attachment_name(path):
    name = os.path.basename(path)
    if has_line_break(name) or "\0" in name:
        raise Refused("the attachment name %r holds a line break" % name)
    return name


def content_type(path, data):
    if data.startswith(b"\x89PNG\r\n\x1a\n"):
        return "image", "png"
    if data.startswith(b"\xff\xd8\xff"):
        return "image", "jpeg"
    if data[:6] in (b"GIF87a", b"GIF89a"):
        return "image", "gif"
    if data.startswith(b"%PDF-"):
        return "application", "pdf"
    guessed, encoding = mimetypes.guess_type(path)
    if guessed and not encoding and "/" in guessed:
        return tuple(guessed.split("/", 1))
    return "application", "octet-stream"


def too_large(name):
    return Refused("the attachment %s is too large: the attachments may hold %d MB together"
                   % (name, MAX_ATTACHMENT_BYTES // (1024 * 1024)))


def read_attachment(path, name, room):
    """The bytes of the regular file at `path`, refused when they are more than `room`."""
    try:
        # Without blocking: a pipe opened for reading would wait for a writer.
        descriptor = os.open(path, os.O_RDONLY | os.O_NONBLOCK | getattr(os, "O_CLOEXEC", 0))
    except OSError as error:
        raise Refused("cannot read attachment %s: %s" % (name, error.strerror or error))
    try:
        status = os.fstat(descriptor)
        if not stat.S_ISREG(status.st_mode):
            raise Refused("cannot read attachment %s: it is not a regular file" % name)
        if status.st_size > room:
            raise too_large(name)
        # At most one byte past the room: a file that grew since is refused, not read whole.
        chunks = []
        left = room + 1
        while left > 0:
            chunk = os.read(descriptor, min(left, 1 << 20))
            if not chunk:
                break
            chunks.append(chunk)
            left -= len(chunk)
    except OSError as error:
        raise Refused("cannot read attachment %s: %s" % (name, error.strerror or error))
    finally:
        os.close(descriptor)
    data = b"".join(chunks)
    if len(data) > room:
        raise too_large(name)
    return data


def build_message(sender, recipient, subject, body, attachments):
    message = EmailMessage()
    message["From"] = sender
    message["To"] = recipient
    message["Subject"] = single_header(subject)
    message["Date"] = formatdate(localtime=True)
    message["Message-ID"] = make_msgid()
    message.set_content(body, subtype="plain", charset="utf-8")
    names = [attachment_name(path) for path in attachments]
    room = MAX_ATTACHMENT_BYTES
    for path, name in zip(attachments, names):
        data = read_attachment(path, name, room)
        room -= len(data)
        maintype, subtype = content_type(path, data)
        message.add_attachment(data, maintype=maintype, subtype=subtype, filename=name)
    return message


def login(server, user, password):
    # smtplib encodes the credentials as ASCII; passwords in any script go as UTF-8.
    if not server.has_extn("auth"):
        raise Refused("the server offers no login")
    methods = server.esmtp_features["auth"].upper().split()
    user_bytes = user.encode("utf-8")
    secret = password.encode("utf-8")
    if "PLAIN" in methods:
        token = base64.b64encode(b"\0" + user_bytes + b"\0" + secret).decode("ascii")
        code, reply = server.docmd("AUTH", "PLAIN " + token)
    elif "LOGIN" in methods:
        code, reply = server.docmd("AUTH", "LOGIN " + base64.b64encode(user_bytes).decode("ascii"))
        if code == 334:
            code, reply = server.docmd(base64.b64encode(secret).decode("ascii"))
    else:
        raise Refused("the server offers no supported login method")
    if code not in (235, 503):
        raise smtplib.SMTPAuthenticationError(code, reply)


def timed_out(error):
    """Whether the error, or the error it was raised from, is a socket's time running out."""
    while error is not None:
        if isinstance(error, (socket.timeout, TimeoutError)):
            return True
        error = error.__cause__ or error.__context__
    return False


def speaks_tls(host, port, timeout):
    """Whether the server begins a TLS handshake as soon as it is reached (implicit TLS)."""
    context = ssl.create_default_context()
    try:
        with socket.create_connection((host, port), timeout=timeout) as raw:
            with context.wrap_socket(raw, server_hostname=host):
                return True
    except ssl.SSLCertVerificationError:
        return True   # a certificate came back: TLS it is, trusted or not
    except (OSError, ValueError):
        return False


def seconds(count):
    return "1 second" if count == 1 else "%g seconds" % count


def no_answer_reason(step, host, port, use_ssl, timeout, deadline=None):
    """Why the send failed when the server stayed silent at `step`. The probe for a server of
    implicit TLS gets what is left of `deadline` (all of `timeout` without one)."""
    reason = "the server did not answer within %s %s" % (seconds(timeout), step)
    if use_ssl != "Y" and step == "after the connection was made":
        # A server of implicit TLS waits for the handshake while we wait for its greeting.
        try:
            left = deadline.left() if deadline else timeout
        except socket.timeout:
            left = 0
        if left > 0 and speaks_tls(host, port, left):
            return reason + (": it expects SSL/TLS from the start (as port 465 usually does); "
                             "choose SSL in the E-mail Settings")
        if port == 465:
            return reason + ": port 465 usually wants SSL/TLS; choose SSL in the E-mail Settings"
    return reason + " (is it an SMTP server, and are the server name and port right?)"


def not_connected_reason(error, timeout):
    """Why no connection was made, told apart from a server that stays silent once reached."""
    if timed_out(error):
        return ("no connection to the server was made within %s: nothing answered the request to "
                "connect (are the server name and port right, and is the network reachable?)" % seconds(timeout))
    if isinstance(error, ConnectionRefusedError):
        return "connection refused: the server takes no connections on this port (is the port right?)"
    text = error.strerror if isinstance(error, OSError) and error.strerror else describe(error)
    return "no connection to the server was made: %s" % text


def connect(host, port, deadline):
    """A TCP connection to the server within the deadline; NotConnected when none is made."""
    try:
        return socket.create_connection((host, port), timeout=deadline.left())
    except socket.gaierror:
        raise
    except OSError as error:
        raise NotConnected(error)


def send(arguments, password, texts, timeout):
    if len(arguments) < 8:
        raise Refused("too few arguments")
    sender, host, port_text, user, recipient, subject, body, use_ssl = arguments[:8]
    subject = texts.get("subject", subject)
    body = texts.get("body", body)
    attachments = arguments[8:]
    try:
        port = int(port_text.strip())
        if not 0 < port < 65536:
            raise ValueError
    except ValueError:
        raise Refused("invalid port number")
    sender = address(sender, "sender")
    recipient = address(recipient, "recipient")
    host = host.strip()
    if not host:
        raise Refused("no SMTP server")
    message = build_message(sender, recipient, subject, body, attachments)

    # Certificates and host names are checked against the system's authorities.
    context = ssl.create_default_context()
    deadline = Deadline(timeout)
    connection = connect(host, port, deadline)
    server = None
    try:
        if use_ssl == "Y":
            step = "to the secure connection"
            connection.settimeout(deadline.left())
            connection = context.wrap_socket(connection, server_hostname=host)
            step = "after the secure connection was made"
            server = DeadlineSMTP(connection, host, port, deadline)
        else:
            step = "after the connection was made"
            # A silent server leaves the probe for implicit TLS some of the time.
            server = DeadlineSMTP(connection, host, port, deadline, keep=probe_reserve(timeout))
    except Exception as error:
        if server is None:
            connection.close()
        if timed_out(error):
            raise NoAnswer(step, deadline)
        raise
    try:
        step = "to the greeting"
        server.ehlo()
        if use_ssl != "Y":
            # Password and mail never cross a plain connection.
            if not server.has_extn("starttls"):
                raise Refused("the server does not offer STARTTLS")
            step = "to STARTTLS"
            server.starttls(context=context)
            server.ehlo()
        step = "to the login"
        login(server, user.strip(), password)
        step = "while the message was sent"
        server.send_message(message, from_addr=sender, to_addrs=[recipient])
    except Exception as error:
        if timed_out(error):
            raise NoAnswer(step, deadline)
        raise
    finally:
        try:
            # Quitting waits for one more answer: never past the deadline.
            server.sock.settimeout(max(0.01, deadline.end - time.monotonic()))
            server.quit()
        except Exception:
            server.close()


def read_input():
    """The password line and the subject and body that may follow it on standard input."""
    data = sys.stdin.buffer.read()
    password, _, rest = data.partition(b"\n")
    password = password.decode("utf-8")
    texts = {}
    timeout = TIMEOUT_SECONDS
    if rest.lstrip().startswith(b"{"):
        parsed = json.loads(rest.decode("utf-8"))
        if isinstance(parsed, dict):
            texts = {key: str(parsed[key]) for key in ("subject", "body") if key in parsed}
            given = parsed.get("timeout")
            if isinstance(given, (int, float)) and not isinstance(given, bool) and 0 < given <= TIMEOUT_SECONDS:
                timeout = float(given)
    return password, texts, timeout


def fail(reason, password):
    """Writes the one line saying why, never the password, and gives the failure status."""
    line = one_line(reason)
    if password:
        line = line.replace(password, "***")
    sys.stderr.write(line + "\n")
    return 1


def main():
    password = ""
    try:
        password, texts, timeout = read_input()
    except UnicodeError:
        return fail("the password is not UTF-8", password)
    except ValueError:
        return fail("the subject and body could not be read", password)
    except Exception as error:
        return fail("the password, subject and body could not be read: %s" % describe(error), password)
    arguments = sys.argv[1:]
    try:
        send(arguments, password, texts, timeout)
    except Refused as error:
        reason = str(error)
    except NoAnswer as error:
        host, port = arguments[1].strip(), int(arguments[2].strip())
        reason = no_answer_reason(error.step, host, port, arguments[7], timeout, error.deadline)
    except NotConnected as error:
        reason = not_connected_reason(error.args[0], timeout)
    except smtplib.SMTPAuthenticationError as error:
        reason = "login refused: %d %s" % (error.smtp_code, error.smtp_error.decode("utf-8", "replace"))
    except smtplib.SMTPRecipientsRefused as error:
        code, reply = next(iter(error.recipients.values()))
        reason = "recipient refused: %d %s" % (code, reply.decode("utf-8", "replace"))
    except smtplib.SMTPResponseException as error:
        reason = "server said %d %s" % (error.smtp_code, error.smtp_error.decode("utf-8", "replace"))
    except (socket.timeout, TimeoutError):
        reason = "the server did not answer within %s" % seconds(timeout)
    except ssl.SSLCertVerificationError as error:
        reason = "certificate not trusted: %s" % error.verify_message
    except ssl.SSLError as error:
        reason = "secure connection failed: %s" % error.reason
        if error.reason == "WRONG_VERSION_NUMBER" and arguments[7] == "Y":
            # A server of STARTTLS answers the handshake with its plain greeting.
            reason += (": the server does not speak SSL/TLS on this port; choose TLS (STARTTLS) in the E-mail Settings"
                       " (ports 587 and 25 usually want it)")
    except smtplib.SMTPServerDisconnected as error:
        reason = "the server closed the connection: %s" % error
    except socket.gaierror:
        reason = "unknown SMTP server"
    except ConnectionRefusedError:
        reason = "connection refused"
    except (OSError, smtplib.SMTPException) as error:
        reason = "could not send: %s" % error
    except ValueError as error:
        reason = "the message could not be made: %s" % error
    except MemoryError:
        reason = "the message could not be made: not enough memory"
    except Exception as error:
        reason = "could not send: %s" % describe(error)
    else:
        return 0
    return fail(reason, password)


def describe(error):
    text = str(error)
    return "%s: %s" % (type(error).__name__, text) if text else type(error).__name__


if __name__ == "__main__":
    try:
        status = main()
    except BaseException as error:
        # Whatever escaped (an interrupt, a failure while reporting): still one line.
        if isinstance(error, SystemExit):
            raise
        status = 1
        try:
            sys.stderr.write("the mail script stopped: %s\n" % type(error).__name__)
        except Exception:
            pass
    sys.exit(status)
