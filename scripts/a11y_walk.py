#!/usr/bin/python3
# The part of scripts/a11y-check that runs inside the accessibility bus: it
# starts one program, opens its windows one after another through the
# accessibility interface itself (menu commands and buttons are pressed by
# their names, texts are typed into boxes), and in each window lists the
# controls a screen reader reaches but cannot name.
#   a11y_walk.py finder|manager PROGRAM
# Prints one line per window ("window: N controls, U unnamed") and each
# unnamed control with the path of roles (and names) leading to it; exits 1
# when any control is unnamed, or a window or the program did not come up.
import os
import signal
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, Gio, GLib

# The roles of controls a user works with; a screen reader must name each.
CONTROL_ROLES = {
    'push button', 'toggle button', 'check box', 'radio button', 'text', 'combo box', 'list',
    'tree', 'tree table', 'table', 'page tab', 'spin button', 'slider', 'entry',
    'password text',
}
# Rows of lists, tables and trees: read with their text, so at least one
# cell of a row must have a name.
ROW_ROLES = {'list item', 'table cell', 'tree item'}
WINDOW_ROLES = {'frame', 'dialog', 'alert', 'window', 'file chooser'}


def pump():
    """Delivers the accessibility events that have arrived."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, predicate, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump()
        try:
            value = predicate()
        except Exception:  # a window that closes while it is read
            value = None
        if value:
            return value
        time.sleep(0.1)
    raise TimeoutError(what)


def safe(call, default=None):
    try:
        return call()
    except Exception:
        return default


def name_of(node):
    """The name a screen reader reads for node, without surrounding blanks."""
    return (safe(lambda: node.name, '') or '').strip()


def showing(node):
    return safe(lambda: node.getState().contains(pyatspi.STATE_SHOWING), False)


def children(node):
    result = []
    for i in range(safe(lambda: node.childCount, 0)):
        child = safe(lambda: node.getChildAtIndex(i))
        if child is not None:
            result.append(child)
    return result


def label(node):
    role = safe(node.getRoleName, '?')
    name = name_of(node)
    return f'{role} "{name}"' if name else role


class Walk:
    """Counts the named and unnamed controls below one window."""

    def __init__(self):
        self.total = 0
        self.unnamed = []

    def visit(self, node, path, depth=0):
        role = safe(node.getRoleName, '')
        name = name_of(node)
        here = path + '/' + label(node)
        if role in CONTROL_ROLES and showing(node):
            self.total += 1
            if not name:
                self.unnamed.append(here)
            if role in ('list', 'tree', 'tree table', 'table'):
                self.rows(node, here)
                return
        if depth < 40:
            for child in children(node):
                self.visit(child, here, depth + 1)

    def rows(self, node, path):
        # The first rows of a list, table or tree are read with their text:
        # a row (or its first cell) without a name is a row read as nothing.
        kids = [c for c in children(node)[:40] if safe(c.getRoleName) in ROW_ROLES]
        kids = [c for c in kids if showing(c)]
        if not kids:
            return
        named = [c for c in kids if name_of(c)]
        if not named:
            self.unnamed.append(path + f'/{len(kids)} rows, none read with a text')


class Program:
    def __init__(self, argv, env):
        self.proc = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL)
        self.app = None
        self.frame = None
        self.shown = []

    def attach(self):
        self.app = wait_for('the program on the accessibility bus', self.find_app, 20)
        # Pop-up windows are not among the application's windows; they are
        # found through the controls that become visible in them.
        pyatspi.Registry.registerEventListener(self.on_showing, 'object:state-changed:showing')

    def on_showing(self, event):
        if event.detail1 == 1:
            self.shown.append(event.source)

    def find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and safe(app.get_process_id) == self.proc.pid:
                return app
        return None

    def windows(self):
        return [w for w in children(self.app)
                if safe(w.getRoleName) in WINDOW_ROLES and showing(w)]

    def window(self, title, timeout=10.0, role=None):
        """The showing window (of `role`) whose title holds `title` (case ignored)."""
        want = title.lower()

        def find():
            for w in self.windows():
                if role and safe(w.getRoleName) != role:
                    continue
                if want in (safe(lambda: w.name, '') or '').lower():
                    return w
            return None
        return wait_for(f'window "{title}"', find, timeout)

    def popups(self):
        """The windows of the controls shown since the last call that are not
        among the application's windows."""
        roots = []
        for node in self.shown:
            root = node
            for _ in range(50):
                parent = safe(lambda: root.parent)
                if parent is None or safe(parent.getRoleName) == 'application':
                    break
                root = parent
            if root not in roots and showing(root):
                roots.append(root)
        return roots

    def new_window(self, before, timeout=10.0):
        """A showing window that was not there in `before`."""
        def find():
            for w in self.windows() + self.popups():
                if w not in before:
                    return w
            return None
        return wait_for('a new window', find, timeout)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def find(node, role, name=None, depth=0):
    """The first node below `node` of `role` whose name (without "...") is `name`."""
    if safe(node.getRoleName) == role:
        here = (safe(lambda: node.name, '') or '').replace('...', '').replace('&', '').strip()
        if name is None or here.lower() == name.lower():
            return node
    if depth > 40:
        return None
    for child in children(node):
        hit = find(child, role, name, depth + 1)
        if hit is not None:
            return hit
    return None


def find_all(node, role, depth=0):
    """Every showing node below `node` of `role`, in tree order."""
    found = []
    if safe(node.getRoleName) == role and showing(node):
        found.append(node)
    if depth < 40:
        for child in children(node):
            found += find_all(child, role, depth + 1)
    return found


def click(node, double=False):
    """Clicks the middle of a control with the mouse."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = box.x + box.width // 2, box.y + box.height // 2
    pyatspi.Registry.generateMouseEvent(x, y, 'b1d' if double else 'b1c')


def press(node):
    """Runs the node's first action. A command that opens a modal window
    answers only when the window closes, so the answer is not waited for."""
    action = node.queryAction()
    if action.nActions < 1:
        raise RuntimeError('no action')
    Atspi.set_timeout(300, -1)
    try:
        action.doAction(0)
    except Exception as error:  # noqa: BLE001
        if 'reply' not in str(error).lower():
            raise
    finally:
        Atspi.set_timeout(-1, -1)


def command(window, *names):
    """Runs a menu command by its menu's and its own names."""
    node = window
    for name in names[:-1]:
        node = find(node, 'menu item', name)
        if node is None:
            raise LookupError('menu ' + name)
    item = find(node, 'menu item', names[-1])
    if item is None:
        raise LookupError('command ' + names[-1])
    wait_for(f'command {names[-1]} enabled',
             lambda: item.getState().contains(pyatspi.STATE_ENABLED), 5)
    press(item)


def button(window, name):
    node = find(window, 'push button', name)
    if node is None:
        raise LookupError('button ' + name)
    press(node)


def type_into(node, text):
    node.queryEditableText().setTextContents(text)


def key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


class Report:
    def __init__(self):
        self.failed = False

    def check(self, name, window, more=()):
        """Checks the controls below `window` and the controls `more`."""
        walk = Walk()
        walk.visit(window, '')
        for node in more:
            walk.visit(node, '/' + label(window) + '/...')
        if safe(window.getRoleName) == 'alert' and not [
                n for n in find_all(window, 'label') if name_of(n)]:
            walk.unnamed.append('/' + label(window) + '/its text')
        print(f'{name}: {walk.total} controls, {len(walk.unnamed)} unnamed', flush=True)
        for path in walk.unnamed:
            print('  unnamed:', path, flush=True)
        if walk.unnamed:
            self.failed = True

    def described(self, name, nodes):
        """Fails unless each of `nodes` (at least one) has a description."""
        bare = [label(n) for n in nodes if not (safe(lambda: n.description, '') or '').strip()]
        print(f'{name}: {len(nodes)} described controls, {len(bare)} without a description',
              flush=True)
        for what in bare:
            print('  no description:', what, flush=True)
        if bare or not nodes:
            self.failed = True

    def missing(self, name, error):
        print(f'{name}: did not open ({error})', flush=True)
        self.failed = True


def close(program, window, names=('Prekliči', 'Zapri', 'V redu', 'OK', 'Cancel', 'Close')):
    for name in names:
        node = find(window, 'push button', name)
        if node is not None and showing(node):
            press(node)
            break
    else:
        key(0xff1b)  # Escape
    try:
        wait_for('the window to close', lambda: not showing(window), 2)
    except TimeoutError:
        # A pop-up window closes on a click elsewhere.
        click(find(program.frame, 'status bar'))
        wait_for('the window to close', lambda: not showing(window), 3)


def dialog(report, program, name, open_it, close_names=None, inner=None):
    """Opens a window by `open_it`, checks it and closes it again."""
    pump()
    program.shown.clear()
    before = program.windows()
    try:
        open_it()
        window = program.new_window(before)
    except Exception as error:  # noqa: BLE001 - reported as a window that did not open
        report.missing(name, error)
        return
    time.sleep(0.2)
    report.check(name, window)
    if inner:
        inner(window)
    if close_names == ():  # a window that is left open
        return
    try:
        if close_names:
            close(program, window, close_names)
        else:
            close(program, window)
    except Exception as error:  # noqa: BLE001
        print(f'{name}: did not close ({error})', flush=True)
        report.failed = True


def menu_dialogs(report, program, frame, rows):
    """Checks the windows that menu commands open: rows of (menu, command)
    or (menu, command, what to call the window)."""
    for row in rows:
        menu, name = row[0], row[1]
        dialog(report, program, row[-1], lambda m=menu, n=name: command(frame, m, n))


def finder(report, program, frame):
    menu_dialogs(report, program, frame, (
        ('Nastavitve', 'Način Iskanja'), ('Nastavitve', 'Aktivna Knjižnica'),
        ('Nastavitve', 'Abecedna Vrstica'), ('Nastavitve', 'Imenik Začasnih Datotek'),
        ('Pomoč', 'O Verbatrakonu III')))
    dialog(report, program, 'Pisave', lambda: command(frame, 'Nastavitve', 'Pisave'),
           inner=lambda fonts: dialog(report, program, 'Pisave: Spremeni',
                                      lambda: button(fonts, 'Spremeni')))

    bar = find(frame, 'tool bar', 'Iskalna Vrstica')
    # The search boxes' syntax is told in their descriptions.
    boxes = find_all(bar, 'combo box')
    report.described('search boxes', boxes + [find(box, 'text') for box in boxes])
    clue = find(boxes[0], 'text')
    # A search that finds nothing says so in a message box.
    type_into(clue, 'QQQQ')
    dialog(report, program, 'message box', lambda: button(bar, 'Išči'))
    # A search that finds words opens a result window.
    type_into(clue, 'M')
    button(bar, 'Išči')
    results = wait_for('the result window', lambda: [
        w for w in find_all(frame, 'frame') + find_all(frame, 'internal frame')
        if 'zadet' in (safe(lambda: w.name, '') or '')])
    time.sleep(0.3)
    report.check('main window with a result window', frame)
    # The known letters' history, a list the box opens.
    dialog(report, program, 'history of the known letters', lambda: press(boxes[0]))
    # The first found word opened in the entry window.
    table = find_all(results[0], 'tree')
    cell = wait_for('a found word', lambda: [c for c in find_all(table[0], 'table cell')
                                             if name_of(c)])
    word = safe(lambda: cell[0].name, '')
    for attempt in range(3):
        # A click selects the row (the first may only bring the window to the
        # front), Enter opens it.
        click(cell[0])
        try:
            wait_for('the row selected',
                     lambda: cell[0].getState().contains(pyatspi.STATE_SELECTED), 2)
            key(0xff0d)  # Return
            wait_for('the word in the entry window', lambda: find(frame, 'label', word), 3)
            break
        except TimeoutError:
            if attempt == 2:
                raise
    menu_dialogs(report, program, frame, (('Geslo', 'Slovar'), ('Geslo', 'Shrani Kot')))
    # A change saved: the undo list has a step.
    editor = find_all(find(frame, 'frame', 'Geslo'), 'text')[0]
    type_into(editor, 'nov opis')
    time.sleep(0.3)  # the entry window reads its editor back every 100 ms
    command(frame, 'Geslo', 'Shrani')
    time.sleep(0.3)
    menu_dialogs(report, program, frame, (('Urejanje', 'Razveljavi Več'),))
    dialog(report, program, 'Teme Pomoči', lambda: command(frame, 'Pomoč', 'Teme Pomoči'),
           close_names=())


def manager(report, program, frame):
    # What the status bar's two counts count is told in their descriptions.
    report.described('status panes', find_all(find(frame, 'status bar'), 'label'))
    # The temporary folder's dialog and the folder chooser it opens.
    dialog(report, program, 'Imenik Začasnih Datotek',
           lambda: command(frame, 'Nastavitve', 'Imenik Začasnih Datotek'),
           inner=lambda temp: dialog(report, program, 'Imenik Začasnih Datotek: Spremeni',
                                     lambda: button(temp, 'Spremeni')))
    menu_dialogs(report, program, frame, (
        ('Nastavitve', 'Abecedna Vrstica'),
        ('Nastavitve', 'Pisava'), ('Pomoč', 'O Programu'), ('Slovar', 'Dodaj'),
        ('Slovar', 'Uvozi')))
    # The wizard's second page, after a name on the first.
    before = program.windows()
    command(frame, 'Slovar', 'Nov')
    try:
        page = program.new_window(before)
        report.check('Nov Slovar (1/2)', page)
        type_into(find_all(page, 'text')[0], 'Nov slovar')
        button(page, 'Naprej >')
        page2 = program.window('(2/2)')
        report.check('Nov Slovar (2/2)', page2)
        close(program, page2)
    except Exception as error:  # noqa: BLE001
        report.missing('Nov Slovar', error)
    # The commands on the selected dictionary.
    lists = find_all(frame, 'tree')
    click(find(lists[-1], 'table cell', 'Preizkusni slovar'))
    time.sleep(0.3)
    menu_dialogs(report, program, frame, (
        ('Slovar', 'Info'), ('Slovar', 'Izvozi'), ('Spremeni', 'Podatke o Slovarju'),
        ('Spremeni', 'Varnostne Nastavitve'), ('Spremeni', 'Priredi Pisavo'),
        ('Spremeni', 'Določi Sliko')))
    # A dictionary with a password asks for it.
    click(find(lists[-1], 'table cell', 'Zaklenjen slovar'))
    time.sleep(0.3)
    menu_dialogs(report, program, frame,
                 (('Spremeni', 'Podatke o Slovarju', 'Geslo (zaklenjen slovar)'),))
    # A question in a message box.
    click(find(lists[0], 'table cell', 'Preizkus'))
    dialog(report, program, 'message box', lambda: command(frame, 'Knjižnica', 'Odstrani'),
           close_names=('Ne', 'No'))
    # A new library's name is typed in place, in a box in the tree.
    # It is not among the tree's children; a screen reader meets it when it
    # takes the focus, the walk when it is shown.
    pump()
    program.shown.clear()
    command(frame, 'Knjižnica', 'Nova Knjižnica')
    editors = wait_for('the name box', lambda: [
        n for n in program.shown if safe(n.getRoleName) == 'text' and showing(n)], 5)
    report.check('main window with a library name edited', frame, editors)
    key(0xff1b)  # Escape


def wait_for_bus():
    """Waits until the accessibility bus is announced on the session bus."""
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def announced():
        reply = session.call_sync('org.freedesktop.DBus', '/org/freedesktop/DBus',
                                  'org.freedesktop.DBus', 'NameHasOwner',
                                  GLib.Variant('(s)', ('org.a11y.Bus',)), None,
                                  Gio.DBusCallFlags.NONE, 1000, None)
        return reply.unpack()[0]
    wait_for('the accessibility bus', announced, 10)


class Overdue(BaseException):
    """A walk that hangs; not an Exception, so that no step swallows it."""


def overdue(signum, frame):
    raise Overdue('the walk took more than a minute')


def main():
    which, binary = sys.argv[1], sys.argv[2]
    print('==', which, flush=True)
    wait_for_bus()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1')
    report = Report()
    program = Program([binary], env)
    try:
        program.attach()
        frame = program.window('Zasnovar' if which == 'manager' else 'Verbatrakon', 20, 'frame')
        program.frame = frame
        time.sleep(0.3)
        report.check('main window', frame)
        (finder if which == 'finder' else manager)(report, program, frame)
    except (Exception, Overdue) as error:  # a step that failed fails the check
        print(f'stopped: {type(error).__name__}: {error}', flush=True)
        report.failed = True
    finally:
        program.stop()
    return 1 if report.failed else 0


if __name__ == '__main__':
    # The program is ended (finally in main) also when a step hangs.
    signal.signal(signal.SIGALRM, overdue)
    signal.alarm(60)
    sys.exit(main())
